#!/usr/bin/env python3
"""Writes the three demonstration cases into data/demo/: the flow-data files QR4TD.DM1 .. QR4TD.DM3 and
the surface-data files QR4SD.DM1 .. QR4SD.DM3, in the list-directed formats of "QR4TD.DAT" and
"QR4SD.DAT" (one item per line, a description after the value). The surfaces are triangulated here.

  DM1  a thin delta wing, 30 degree apex angle, leading edges bevelled, 10 degrees incidence, in a
       Mach 2 stream of nitrogen at a Knudsen number (mean free path / root chord) of about 0.01;
       half of it, the plane of symmetry z = 0 being a box side.
  DM2  a rectangular vacuum chamber, symmetric about x = 0 and z = 0 (one quarter computed), with a
       near-sonic jet of a helium-argon mixture entering through flow-entry triangles at the centre of
       its upper wall and a cylindrical tube from the centre of its lower wall to a vacuum; it starts
       as a vacuum.
  DM3  an orbiter-like re-entry vehicle (fuselage with a chine that widens into a delta wing, vertical
       tail) at 105 km altitude, 7.5 km/s, 40 degrees angle of attack, in five-species reacting air with
       rotational and vibrational excitation; half of it, z = 0 being the plane of symmetry.

Sources of the physical values:
  - Atmosphere: U.S. Standard Atmosphere, 1976 (NOAA, NASA, USAF, Washington 1976): at 86 km
    T = 186.87 K and n = 1.447E20 m^-3 (DM1); at 105 km T = 208.8 K and n of about 5.0E18 m^-3 with
    the composition rounded to 77 % N2, 17 % O2, 6 % O (DM3).
  - Molecular data (VHS diameters, reference temperature 273 K, viscosity-temperature exponents,
    masses), characteristic vibrational temperatures: G. A. Bird, Molecular Gas Dynamics and the Direct
    Simulation of Gas Flows, Oxford 1994 (Bird 1994), appendix A, tables A1 and A2.
  - Dissociation and exchange rates of air (pre-exponential factor, temperature exponent, activation
    energy) and the reaction energies: Bird 1994, table 6.4; the constant vibrational collision
    number 50 and rotational relaxation collision number 5: Bird 1994, chapter 6.
  - Mean free path of the VHS model: Bird 1994, eq. 4.65; speed of sound sqrt(gamma k T / m).

Every surface is checked before it is written: no degenerate triangle, every point inside the box,
every side shared by exactly two triangles or lying on a box face, one consistent orientation, and the
normals pointing into the flow (the sign of the enclosed volume).

Run by hand; the output is committed:
    PATH=$(getconf PATH) python3 tools/make_demo_cases.py [output folder, default data/demo]
"""

import math
import os
import sys

K_BOLTZMANN = 1.3806e-23


# ---------------------------------------------------------------------------------------------------
# Triangulated surfaces


class Surface:
    """One surface: points (deduplicated by position) and triangles with a kind (1 solid, 2 entry)."""

    def __init__(self):
        self.points = []
        self.index = {}
        self.triangles = []  # (p1, p2, p3, kind), 0-based point numbers
        self.entry = None    # (u, v, w, temperature, density, fractions) of the flow-entry triangles

    def point(self, p):
        key = tuple(round(c, 9) for c in p)
        if key not in self.index:
            self.index[key] = len(self.points)
            self.points.append(tuple(float(c) for c in p))
        return self.index[key]

    def triangle(self, a, b, c, kind=1):
        ia, ib, ic = self.point(a), self.point(b), self.point(c)
        self.triangles.append((ia, ib, ic, kind))

    def quad(self, a, b, c, d, kind=1):
        """The quadrilateral a b c d as two triangles."""
        self.triangle(a, b, c, kind)
        self.triangle(a, c, d, kind)

    def grid(self, corner, kind=1):
        """A structured patch: corner(i, j) gives the point of row i, column j; rows and columns are
        the ranges corner.rows and corner.cols."""
        for i in range(corner.rows):
            for j in range(corner.cols):
                self.quad(corner(i, j), corner(i + 1, j), corner(i + 1, j + 1), corner(i, j + 1), kind)

    def subdivided_triangle(self, a, b, c, n, kind=1):
        """Triangle a b c cut into n * n triangles on a barycentric grid (uniform points on each side)."""
        def p(i, j):
            return tuple(a[k] + (b[k] - a[k]) * i / n + (c[k] - a[k]) * j / n for k in range(3))
        for i in range(n):
            for j in range(n - i):
                self.triangle(p(i, j), p(i + 1, j), p(i, j + 1), kind)
                if i + j + 1 < n:
                    self.triangle(p(i + 1, j), p(i + 1, j + 1), p(i, j + 1), kind)


class Patch:
    """A callable structured patch for Surface.grid."""

    def __init__(self, rows, cols, f):
        self.rows, self.cols, self.f = rows, cols, f

    def __call__(self, i, j):
        return self.f(i, j)


def sub(a, b):
    return tuple(a[k] - b[k] for k in range(3))


def cross(a, b):
    return (a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0])


def norm(a):
    return math.sqrt(sum(c * c for c in a))


def orient_consistently(surface):
    """Flips triangles so that every shared side is run in opposite directions by its two triangles."""
    tris = [list(t[:3]) for t in surface.triangles]
    sides = {}
    for n, t in enumerate(tris):
        for k in range(3):
            sides.setdefault(frozenset((t[k], t[(k + 1) % 3])), []).append(n)
    done = [False] * len(tris)
    for start in range(len(tris)):
        if done[start]:
            continue
        done[start] = True
        stack = [start]
        while stack:
            n = stack.pop()
            t = tris[n]
            for k in range(3):
                a, b = t[k], t[(k + 1) % 3]
                for m in sides[frozenset((a, b))]:
                    if m == n or done[m]:
                        continue
                    u = tris[m]
                    # the neighbour must run the side from b to a
                    if any(u[q] == a and u[(q + 1) % 3] == b for q in range(3)):
                        u[1], u[2] = u[2], u[1]
                    done[m] = True
                    stack.append(m)
    surface.triangles = [(t[0], t[1], t[2], old[3]) for t, old in zip(tris, surface.triangles)]


def enclosed_volume(surface):
    """Volume enclosed by the surface and the missing faces, from the flux of (0, 0, z) through the
    triangles: positive when the normals point out of the enclosed region. Missing faces must lie in
    z = 0 or be parallel to the z axis, which add nothing to that flux."""
    v = 0.0
    for a, b, c, _ in surface.triangles:
        pa, pb, pc = surface.points[a], surface.points[b], surface.points[c]
        n = cross(sub(pb, pa), sub(pc, pa))  # twice the area times the unit normal
        v += 0.5 * n[2] * (pa[2] + pb[2] + pc[2]) / 3.0
    return v


def finish_surface(surface, box, flow_outside):
    """Orients the surface (normals into the flow) and checks it; flow_outside is True for a body in
    the flow and False for an enclosure with the flow inside."""
    orient_consistently(surface)
    v = enclosed_volume(surface)
    if (v > 0) != flow_outside:
        surface.triangles = [(a, c, b, k) for a, b, c, k in surface.triangles]
    check_surface(surface, box)


def check_surface(surface, box):
    (x0, x1), (y0, y1), (z0, z1) = box
    tol = 1e-9
    for p in surface.points:
        for c, (lo, hi) in zip(p, box):
            if c < lo - tol or c > hi + tol:
                raise SystemExit("point %s outside the box %s" % (p, box))
    sides = {}
    for n, (a, b, c, _) in enumerate(surface.triangles):
        pa, pb, pc = surface.points[a], surface.points[b], surface.points[c]
        area = 0.5 * norm(cross(sub(pb, pa), sub(pc, pa)))
        if area < 1e-10:
            raise SystemExit("degenerate triangle %d" % n)
        for s, e in ((a, b), (b, c), (c, a)):
            if (s, e) in sides:
                raise SystemExit("side %d-%d run twice in one direction" % (s, e))
            sides[(s, e)] = n

    def on_face(p, q):
        for axis, (lo, hi) in enumerate(box):
            for limit in (lo, hi):
                if abs(p[axis] - limit) < tol and abs(q[axis] - limit) < tol:
                    return True
        return False

    for (s, e) in sides:
        if (e, s) not in sides and not on_face(surface.points[s], surface.points[e]):
            raise SystemExit("side %d-%d has no partner and lies on no box face" % (s, e))


# ---------------------------------------------------------------------------------------------------
# Data-file writers


class DataFile:
    """A list-directed data file: one value per line with its description after it."""

    def __init__(self):
        self.lines = []

    def item(self, value, text=""):
        if isinstance(value, float):
            s = "%.7G" % value
            if "." not in s and "E" not in s:
                s += "."
        else:
            s = str(value)
        self.lines.append(("%-14s %s" % (s, text)).rstrip())

    def raw(self, text):
        """A line of several values (the values come first; a line of text alone would be read)."""
        self.lines.append(text)

    def blank(self):
        self.lines.append("")

    def write(self, path):
        with open(path, "w", newline="\r\n") as f:
            f.write("\n".join(self.lines) + "\n")


class Species:
    def __init__(self, name, diameter, mass, omega, rot_dof=0, vib_temp=None):
        self.name, self.diameter, self.mass, self.omega = name, diameter, mass, omega
        self.rot_dof, self.vib_temp = rot_dof, vib_temp


# Bird 1994, appendix A, tables A1 and A2 (reference temperature 273 K).
N2 = Species("N2", 4.17e-10, 46.5e-27, 0.74, 2, 3371.0)
O2 = Species("O2", 4.07e-10, 53.12e-27, 0.77, 2, 2256.0)
NO = Species("NO", 4.20e-10, 49.88e-27, 0.79, 2, 2719.0)
O_ATOM = Species("O", 3.0e-10, 26.56e-27, 0.80)
N_ATOM = Species("N", 3.0e-10, 23.25e-27, 0.80)
HE = Species("He", 2.33e-10, 6.65e-27, 0.66)
AR = Species("Ar", 4.17e-10, 66.3e-27, 0.81)
T_REF = 273.0
ROT_RELAX = 5      # rotational relaxation collision number
VIB_RELAX = 50.0   # constant vibrational collision number


def mean_free_path(species, n, t):
    """VHS mean free path of a simple gas, Bird 1994 eq. 4.65."""
    return 1.0 / (math.sqrt(2.0) * math.pi * species.diameter ** 2 * n * (T_REF / t) ** (species.omega - 0.5))


def write_flow_data(path, case):
    f = DataFile()
    box = case["box"]
    names = ("XMIN", "XMAX", "YMIN", "YMAX", "ZMIN", "ZMAX")
    for axis in range(3):
        for end in range(2):
            f.item(float(box[axis][end]), names[2 * axis + end] + (" (m)" if axis + end == 0 else ""))
    for axis, name in enumerate("xyz"):
        f.item(case["divisions"][axis], "divisions in " + name)
    for axis, name in enumerate("xyz"):
        f.item(case["elements"][axis], "elements per division in " + name)
    species = case["species"]
    max_vib = 1 if any(s.vib_temp and s.rot_dof for s in species) and case.get("vibration") else 0
    reactions = case.get("reactions", [])
    f.item(len(species), "number of molecular species: " + ", ".join(s.name for s in species))
    f.item(max_vib, "maximum number of vibrational modes of any species")
    f.item(len(reactions), "number of gas-phase reactions")
    if reactions:
        f.item(0, "number of third-body tables")
    f.item(0, "number of surface reactions")
    for n, s in enumerate(species, 1):
        f.blank()
        f.item(s.diameter, "species %d (%s): reference diameter (m)" % (n, s.name))
        f.item(T_REF, "reference temperature (K)")
        f.item(s.omega, "viscosity-temperature power law")
        f.item(s.mass, "molecular mass (kg)")
        f.item(s.rot_dof, "rotational degrees of freedom")
        if s.rot_dof > 0:
            f.item(ROT_RELAX, "rotational relaxation collision number")
            if max_vib > 0:
                f.item(1, "vibrational modes")
                f.item(s.vib_temp, "characteristic vibrational temperature (K)")
                f.item(VIB_RELAX, "C1: a constant vibrational collision number")
                f.item(0.0, "C2 = 0")
    for n, r in enumerate(reactions, 1):
        a, b, p1, p2, p3, zeta, ea, rate, eta, energy, text = r
        f.blank()
        f.item(a, "reaction %d: %s; species code of one molecule" % (n, text))
        f.item(b, "species code of the other molecule")
        f.item(p1, "dissociation: first product" if p1 > 0 else "0: an exchange reaction")
        f.item(p2, "second product" if p1 > 0 else "post-reaction species of the first molecule")
        f.item(p3, "third product (the unchanged partner)" if p1 > 0 else
               "post-reaction species of the other molecule")
        f.item(zeta, "contributing internal degrees of freedom")
        f.item(ea, "activation energy (J)")
        f.item(rate * 1e10, "1.E10 times the pre-exponential parameter (m^3/s)")
        f.item(eta, "temperature exponent")
        f.item(energy, "energy of the reaction (J)")
    stream = case["stream"]
    f.blank()
    f.item(stream["n"], "stream (reference gas) number density (1/m^3)")
    f.item(stream["t"], "stream temperature (K)")
    for axis, name in enumerate("xyz"):
        f.item(float(stream["velocity"][axis]), "stream velocity in %s (m/s)" % name)
    for n, fr in enumerate(stream["fractions"], 1):
        f.item(float(fr), "fraction of species %d in the stream" % n)
    side_names = ("minimum x", "maximum x", "minimum y", "maximum y", "minimum z", "maximum z")
    code_names = {2: "plane of symmetry", 3: "stream", 4: "vacuum"}
    for name, code in zip(side_names, case["boundaries"]):
        f.item(code, "side at the %s: %s" % (name, code_names[code]))
    f.item(case["initial_state"], "1: the stream fills the box at zero time; 2: the box starts empty")
    f.item(0, "the initial gas is homogeneous")
    run = case["run"]
    f.item(run["fnum"], "real molecules represented by each simulated molecule")
    f.item(run["ref_time"], "reference time (s)")
    f.item(1, "sampling for an eventual steady flow")
    f.item(run["output_interval"], "output interval in reference times")
    f.item(run["samples"], "samples in each output interval")
    f.item(run["steady_after"], "output intervals after which the flow is taken as steady")
    f.item(run["mnm"], "initial capacity of the molecule store")
    f.item(run["moves_per_collision"], "molecule moves in each mean collision time")
    f.item(run["moves_per_transit"], "molecule moves in each cell transit time")
    f.item(run["index_mode"], "0 normal indexing, 1 continuous indexing")
    f.item(run["subcells"], "0 no sub-cells, 1 transient sub-cells")
    f.write(path)


def write_surface_data(path, surfaces, species_count, wall_temperature):
    f = DataFile()
    f.item(len(surfaces), "number of distinct surfaces")
    for n, s in enumerate(surfaces, 1):
        entries = sum(1 for t in s.triangles if t[3] == 2)
        f.item(len(s.points), "surface %d: number of points" % n)
        f.item(len(s.triangles) - entries, "number of solid triangles")
        f.item(entries, "number of flow entry triangles")
    for n, s in enumerate(surfaces, 1):
        f.blank()
        for i, p in enumerate(s.points):
            f.raw("%.8G %.8G %.8G" % p + ("        surface %d: points x y z (m)" % n if i == 0 else ""))
        # Solid triangles first, then the flow-entry triangles: the first of each kind carries the
        # properties and the others copy them (code 0).
        ordered = [t for t in s.triangles if t[3] == 1] + [t for t in s.triangles if t[3] == 2]
        previous = None
        for j, (a, b, c, kind) in enumerate(ordered, 1):
            f.raw("%d %d %d" % (a + 1, b + 1, c + 1) + ("        triangle %d: corner points" % j if j == 1 else ""))
            if kind == previous:
                f.item(0, "same properties as the previous triangle" if j <= 2 else "")
                continue
            previous = kind
            if kind == 1:
                f.item(1, "a solid surface")
                f.item(float(wall_temperature), "diffuse reflection at this temperature (K)")
                f.item(0.0, "fraction of specular reflection")
                for sp in range(1, species_count + 1):
                    f.item(0.0, "fraction of species %d adsorbed" % sp)
                    f.item(0.0, "outgas mass flux of species %d" % sp)
            else:
                u, v, w, t, density, fractions = s.entry
                f.item(2, "a specified flow entry triangle")
                for value, text in ((u, "velocity in x (m/s)"), (v, "velocity in y (m/s)"),
                                    (w, "velocity in z (m/s)"), (t, "gas temperature (K)"),
                                    (density, "number density (1/m^3)")):
                    f.item(float(value), text)
                for sp, fr in enumerate(fractions, 1):
                    f.item(float(fr), "fraction of species %d" % sp)
    f.write(path)


# ---------------------------------------------------------------------------------------------------
# Case 1: the delta wing


def delta_wing():
    chord = 0.8               # root chord (m)
    apex_half_angle = math.radians(15.0)
    thickness = 0.02          # plate thickness (m)
    bevel = 0.04              # width of the leading-edge bevel, normal to the edge (m)
    incidence = math.radians(10.0)
    apex = (0.0, 0.1, 0.0)
    n = 8                     # subdivisions of each side of the planform

    tan15 = math.tan(apex_half_angle)
    span = chord * tan15                     # half span at the trailing edge
    inner_apex = bevel / math.sin(apex_half_angle)
    inner_span = (chord - inner_apex) * tan15

    def place(x, y, z):
        """Wing coordinates (apex at the origin, chord along x) to the box: pitched nose-up."""
        c, s = math.cos(incidence), math.sin(incidence)
        return (apex[0] + x * c + y * s, apex[1] - x * s + y * c, apex[2] + z)

    O, R, T = place(0, 0, 0), place(chord, 0, 0), place(chord, 0, span)
    O2_, R2, T2 = place(inner_apex, thickness, 0), place(chord, thickness, 0), place(chord, thickness, inner_span)
    s = Surface()
    s.subdivided_triangle(O, R, T, n)        # lower surface
    s.subdivided_triangle(O2_, R2, T2, n)    # upper surface
    # Bevel between the leading edge O-T and the inner edge O'-T', and the blunt base R-T-T'-R'.
    for k in range(n):
        f0, f1 = k / n, (k + 1) / n
        lerp = lambda a, b, f: tuple(a[q] + (b[q] - a[q]) * f for q in range(3))
        s.quad(lerp(O, T, f0), lerp(O, T, f1), lerp(O2_, T2, f1), lerp(O2_, T2, f0))
        s.quad(lerp(R, T, f0), lerp(R, T, f1), lerp(R2, T2, f1), lerp(R2, T2, f0))

    box = ((-0.15, 1.05), (-0.45, 0.4), (0.0, 0.5))
    finish_surface(s, box, flow_outside=True)

    t_inf, n_inf = 186.87, 1.447e20          # U.S. Standard Atmosphere 1976, 86 km
    sound = math.sqrt(1.4 * K_BOLTZMANN * t_inf / N2.mass)
    speed = 2.0 * sound
    lam = mean_free_path(N2, n_inf, t_inf)
    case = {
        "box": box, "divisions": (30, 21, 12), "elements": (2, 2, 2), "species": [N2],
        "stream": {"n": n_inf, "t": t_inf, "velocity": (round(speed, 1), 0.0, 0.0), "fractions": [1.0]},
        "boundaries": (3, 3, 3, 3, 2, 3), "initial_state": 1,
        "run": {"fnum": 5.0e14, "ref_time": 1.0e-3, "output_interval": 0.25, "samples": 20,
                "steady_after": 16, "mnm": 200000, "moves_per_collision": 4, "moves_per_transit": 5,
                "index_mode": 0, "subcells": 1},
    }
    info = "delta wing: Mach 2 at %.1f m/s, mean free path %.4g m, Knudsen number %.3f" % (
        speed, lam, lam / chord)
    return case, [s], 300.0, info


# ---------------------------------------------------------------------------------------------------
# Case 2: the vacuum system


def vacuum_system():
    half_width = 0.08         # chamber half extents in x and z (m)
    height = 0.10             # chamber height, y from 0 (m)
    jet_radius = 0.015
    tube_radius = 0.05
    tube_length = 0.04        # the tube runs from y = 0 down to the box side at y = -tube_length
    n = 8                     # segments of each quarter-rectangle edge
    rings = 4                 # radial rows between a hole and the chamber walls
    rows = 10                 # rows of the side walls in y
    box = ((0.0, 0.095), (-tube_length, 0.115), (0.0, 0.095))

    # Points of the quarter rectangle's edges x = W and z = D, from (W, 0) to (0, D), and the angles at
    # which the rays from the axis meet them: the hole rims use the same angles, so the rings match.
    edge = [(half_width, half_width * k / n) for k in range(n + 1)]
    edge += [(half_width * (n - k) / n, half_width) for k in range(1, n + 1)]
    angles = [math.atan2(z, x) for x, z in edge]

    s = Surface()

    def wall_with_hole(y, radius, kind=1):
        def p(i, j):
            ex, ez = edge[j]
            rx, rz = radius * math.cos(angles[j]), radius * math.sin(angles[j])
            f = i / rings
            return (rx + (ex - rx) * f, y, rz + (ez - rz) * f)
        s.grid(Patch(rings, len(edge) - 1, p), kind)

    wall_with_hole(height, jet_radius)        # upper wall around the jet
    wall_with_hole(0.0, tube_radius)          # lower wall around the tube
    # The jet: flow-entry triangles filling the hole of the upper wall.
    centre = (0.0, height, 0.0)
    for j in range(len(edge) - 1):
        a = (jet_radius * math.cos(angles[j]), height, jet_radius * math.sin(angles[j]))
        b = (jet_radius * math.cos(angles[j + 1]), height, jet_radius * math.sin(angles[j + 1]))
        s.triangle(centre, a, b, kind=2)
    # Side walls x = W and z = D.
    s.grid(Patch(rows, n, lambda i, j: (half_width, height * i / rows, half_width * j / n)))
    s.grid(Patch(rows, n, lambda i, j: (half_width * j / n, height * i / rows, half_width)))
    # The tube, a quarter cylinder down to the vacuum side.
    s.grid(Patch(3, len(edge) - 1, lambda i, j: (tube_radius * math.cos(angles[j]), -tube_length * i / 3,
                                                  tube_radius * math.sin(angles[j]))))
    finish_surface(s, box, flow_outside=False)

    # The jet: an equimolar helium-argon mixture expanded from 300 K to sonic speed (T = 2/(gamma+1)
    # T0 = 225 K for gamma 5/3), moving down into the chamber.
    mixture_mass = 0.5 * (HE.mass + AR.mass)
    t_jet = 225.0
    sound = math.sqrt(5.0 / 3.0 * K_BOLTZMANN * t_jet / mixture_mass)
    s.entry = (0.0, -round(sound, 1), 0.0, t_jet, 1.0e21, (0.5, 0.5))
    case = {
        "box": box, "divisions": (10, 16, 10), "elements": (3, 3, 3), "species": [HE, AR],
        # The reference gas: the mixture at 300 K and about the chamber's final density.
        "stream": {"n": 4.0e20, "t": 300.0, "velocity": (0.0, 0.0, 0.0), "fractions": [0.5, 0.5]},
        "boundaries": (2, 4, 4, 4, 2, 4), "initial_state": 2,
        "run": {"fnum": 1.0e13, "ref_time": 1.0e-3, "output_interval": 0.5, "samples": 10,
                "steady_after": 24, "mnm": 60000, "moves_per_collision": 4, "moves_per_transit": 5,
                "index_mode": 0, "subcells": 1},
    }
    info = "vacuum system: jet at %.1f m/s (sonic at %.0f K)" % (sound, t_jet)
    return case, [s], 300.0, info


# ---------------------------------------------------------------------------------------------------
# Case 3: the re-entry vehicle


def reentry_vehicle():
    length = 32.0             # fuselage length (m); nose at x = 0, base at x = length
    body_half_width = 2.6
    body_half_height = 2.5
    nose_length = 7.0         # the cross-section grows as sqrt(x / nose_length) up to here
    chine = 0.5               # the chine's reach beyond the fuselage side (m)
    wing_start, wing_root_end = 12.0, length
    wing_span = 9.4           # wing reach beyond the fuselage side at the base (m)
    wing_half_thickness = 0.35
    wing_height = -1.3        # height of the wing plane (fuselage centre at y = 0)
    fin_start, fin_height, fin_half_thickness, fin_ridge = 24.0, 8.0, 0.25, 0.25
    stations = 26             # cross-sections along x, the first one just behind the nose point
    arc = 6                   # points of each quarter of the fuselage section
    wing_points = 6           # points along each wing surface

    def radii(x):
        g = math.sqrt(min(1.0, x / nose_length))
        return body_half_width * g, body_half_height * g

    def reach(x):
        """Chine and wing reach beyond the fuselage side."""
        if x <= wing_start:
            return chine * math.sqrt(min(1.0, x / nose_length))
        return chine + (wing_span - chine) * (x - wing_start) / (wing_root_end - wing_start)

    def fin(x):
        return fin_ridge + max(0.0, min(fin_height - fin_ridge, (x - fin_start)))

    def superellipse(a, b, phi):
        """Point (y, z) of the section at angle phi from the top: a rounded rectangle of half height b
        and half width a."""
        c, s = math.cos(phi), math.sin(phi)
        return (b * math.copysign(abs(c) ** 0.5, c), a * abs(s) ** 0.5)

    def angle_at_height(b, y):
        """The angle phi at which the upper or lower side of the section is at height y."""
        c = math.copysign((abs(y) / b) ** 2, y)
        return math.acos(max(-1.0, min(1.0, c)))

    def section(x):
        """Contour of the section at x in (y, z), from the fin top on z = 0 round to the keel on z = 0."""
        g = math.sqrt(min(1.0, x / nose_length))
        a, b = radii(x)
        ft = fin_half_thickness * g
        yw, tw = wing_height * g, wing_half_thickness * g
        # the fin (a low dorsal ridge ahead of it) stands on the fuselage where its side is at z = ft
        phi_top = math.asin((ft / a) ** 2)
        phi_up, phi_low = angle_at_height(b, yw + tw), angle_at_height(b, yw - tw)
        y_top = superellipse(a, b, phi_top)[0]
        fin_top = y_top + fin(x) * g
        pts = [(fin_top, 0.0), (fin_top, ft), (0.5 * (fin_top + y_top), ft)]
        # upper fuselage down to the wing's upper surface
        for k in range(arc + 1):
            pts.append(superellipse(a, b, phi_top + (phi_up - phi_top) * k / arc))
        z_root = pts[-1][1]
        r = reach(x)
        # wing upper surface out to the tip, a short tip edge, the lower surface back (thinning outwards)
        for k in range(1, wing_points + 1):
            pts.append((yw + tw * (1.0 - k / (wing_points + 1)), z_root + r * k / wing_points))
        for k in range(wing_points, 0, -1):
            pts.append((yw - tw * (1.0 - k / (wing_points + 1)), z_root + r * k / wing_points))
        # lower fuselage from the wing's lower surface to the keel
        for k in range(arc + 1):
            pts.append(superellipse(a, b, phi_low + (math.pi - phi_low) * k / arc))
        pts[-1] = (pts[-1][0], 0.0)
        return pts, yw

    xs = [length * (k / stations) ** 1.3 for k in range(1, stations + 1)]
    xs[-1] = length
    sections = [[(x, y, z) for y, z in section(x)[0]] for x in xs]
    s = Surface()
    # Nose and base are fans from points on the wing plane, from where every section is star-shaped.
    nose = (0.0, section(xs[0])[1], 0.0)
    first = sections[0]
    for j in range(len(first) - 1):
        s.triangle(nose, first[j], first[j + 1])
    for i in range(len(sections) - 1):
        a, b = sections[i], sections[i + 1]
        for j in range(len(a) - 1):
            s.quad(a[j], b[j], b[j + 1], a[j + 1])
    base = sections[-1]
    base_centre = (length, wing_height, 0.0)
    for j in range(len(base) - 1):
        s.triangle(base_centre, base[j + 1], base[j])

    box = ((-6.0, 36.0), (-14.0, 16.0), (0.0, 16.0))
    finish_surface(s, box, flow_outside=True)

    # U.S. Standard Atmosphere 1976 at 105 km; composition rounded.
    t_inf, n_inf = 208.8, 5.0e18
    fractions = [0.17, 0.77, 0.06, 0.0, 0.0]           # O2, N2, O, N, NO
    speed, attack = 7500.0, math.radians(40.0)
    # Bird 1994 table 6.4: (A, B, P1, P2, P3, zeta, Ea, rate, eta, energy)
    e_o2, e_n2, e_no = 8.197e-19, 1.561e-18, 1.043e-18   # dissociation energies (J)
    reactions = []
    partners = [(1, "O2"), (2, "N2"), (3, "O"), (4, "N"), (5, "NO")]
    for code, molecule, products, atom_rate, molecule_rate, eta, energy in (
            (1, "O2", (3, 3), 1.660e-8, 3.321e-9, -1.5, e_o2),
            (2, "N2", (4, 4), 4.980e-8, 1.162e-8, -1.6, e_n2),
            (5, "NO", (4, 3), 1.826e-13, 8.302e-15, 0.0, e_no)):
        for partner, name in partners:
            rate = atom_rate if partner in (3, 4) else molecule_rate
            reactions.append((code, partner, products[0], products[1], partner, 1.0, energy, rate, eta,
                              -energy, "dissociation of %s by %s" % (molecule, name)))
    reactions += [
        (5, 3, 0, 1, 4, 0.0, 2.719e-19, 5.279e-21, 1.0, -(e_no - e_o2), "NO + O -> O2 + N"),
        (2, 3, 0, 5, 4, 0.0, 5.175e-19, 1.120e-16, 0.0, -(e_n2 - e_no), "N2 + O -> NO + N"),
        (1, 4, 0, 5, 3, 0.0, 4.968e-20, 1.598e-18, 0.5, e_no - e_o2, "O2 + N -> NO + O"),
        (5, 4, 0, 2, 3, 0.0, 0.0, 2.490e-17, 0.0, e_n2 - e_no, "NO + N -> N2 + O"),
    ]
    lam = mean_free_path(N2, n_inf, t_inf)
    case = {
        "box": box, "divisions": (42, 30, 16), "elements": (2, 2, 2),
        "species": [O2, N2, O_ATOM, N_ATOM, NO], "vibration": True, "reactions": reactions,
        "stream": {"n": n_inf, "t": t_inf,
                   "velocity": (round(speed * math.cos(attack), 1), round(speed * math.sin(attack), 1), 0.0),
                   "fractions": fractions},
        "boundaries": (3, 3, 3, 3, 2, 3), "initial_state": 1,
        "run": {"fnum": 2.0e17, "ref_time": 1.0e-3, "output_interval": 1.0, "samples": 10,
                "steady_after": 10, "mnm": 1200000, "moves_per_collision": 4, "moves_per_transit": 5,
                "index_mode": 1, "subcells": 1},
    }
    info = "re-entry vehicle: mean free path %.3g m, Knudsen number %.4f on the length" % (lam, lam / length)
    return case, [s], 1000.0, info


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..", "data", "demo")
    os.makedirs(out, exist_ok=True)
    for number, make in ((1, delta_wing), (2, vacuum_system), (3, reentry_vehicle)):
        case, surfaces, wall_t, info = make()
        write_flow_data(os.path.join(out, "QR4TD.DM%d" % number), case)
        write_surface_data(os.path.join(out, "QR4SD.DM%d" % number), surfaces, len(case["species"]), wall_t)
        counts = ", ".join("%d points, %d triangles" % (len(s.points), len(s.triangles)) for s in surfaces)
        (x0, x1), (y0, y1), (z0, z1) = case["box"]
        inside = sum(enclosed_volume(s) for s in surfaces)  # body (> 0) or enclosure (< 0) volume
        flow = inside if inside < 0 else (x1 - x0) * (y1 - y0) * (z1 - z0) - inside
        print("DM%d %s; %s; flow volume %.6g m^3" % (number, info, counts, abs(flow)))


if __name__ == "__main__":
    main()
