// Small flow-data and surface-data files for the case-data tests, built from templates whose items
// can be replaced one by one: every ${NAME} takes its value from the overrides, else from the defaults.
#ifndef QR4T_TESTS_CASEDATA_CASE_FILES_H
#define QR4T_TESTS_CASEDATA_CASE_FILES_H

#include <map>
#include <string>

using Items = std::map<std::string, std::string>;

// Two species (1 rotates and has one vibrational mode, 2 is an atom), one recombination with one
// third-body table, one surface reaction, a box of 20 x 10 x 10 (scale factor 1).
inline const char* const FLOW_TEMPLATE = R"(${XMIN}  XMIN
${XMAX}   XMAX
0.        YMIN
${YMAX}   YMAX
0.        ZMIN
${ZMAX}   ZMAX
${DIVX}   divisions
${DIVY}
2
${ELX}    elements per division
2
${ELZ}
${SPECIES}  species
${MAXVIB}   maximum number of vibrational modes
${REACTIONS}  gas reactions
${TABLES}   third-body tables
${SURFREACTIONS}  surface reactions
${DIAM1}  species 1: diameter
${TREF1}
${OMEGA1}
${MASS1}  mass
${ROT1}   rotational degrees of freedom
5
${MODES1} vibrational modes
${VIBT}
${VC1}
${VC2}
3.E-10    species 2
273.
0.75
2.3E-26
0
${A}      reaction 1: reactants
${B}
${P1}     P1
${P2}     P2
${P3}     P3
${DOF}
${EA}
${PRE}
${TEXP}
${EREACT}
${MORE_REACTIONS}
${TB1}        third-body table 1
1.
${SR_IN1}  surface reaction 1: incident
${SR_IN2}
${SR_OUT1}  reflected
0
0
0
0
${SR_OUT6}
${SR_E}        energy
${STREAM_N}     stream density
${STREAM_T}  stream temperature
${STREAM_U}
0.
0.
${FRAC1}       fractions
0.5
${SIDE1}  sides
${SIDE2}
${SIDE3}
3
3
${SIDE6}
${WALL}
${INITIAL_STATE}  initial state
${INITIAL_GAS}    initial gas
${SECONDARY}
${FNUM}   FNUM
${REF_TIME}     reference time
${SAMPLING}  sampling
${OUTPUT}        output interval
${SECOND_SAMPLING}
${SAMPLES}  samples
${STEADY}
${MNM}    maximum number of molecules
${MOVES1}  moves per collision time
${MOVES2}  moves per transit time
${INDEX}  indexing
${SUBCELL}  sub-cells
)";

inline const Items FLOW_DEFAULTS = {
    {"XMIN", "0."},
    {"XMAX", "20."},
    {"YMAX", "10."},
    {"ZMAX", "10."},
    {"DIVX", "2"},
    {"DIVY", "2"},
    {"ELX", "2"},
    {"ELZ", "2"},
    {"SPECIES", "2"},
    {"MAXVIB", "1"},
    {"REACTIONS", "1"},
    {"TABLES", "1"},
    {"SURFREACTIONS", "1"},
    {"DIAM1", "4.E-10"},
    {"MASS1", "4.65E-26"},
    {"ROT1", "2"},
    {"MODES1", "1"},
    {"A", "1"},
    {"B", "2"},
    {"P1", "-1"},
    {"P2", "1"},
    {"P3", "-1"},
    {"MORE_REACTIONS", ""},
    {"SR_IN1", "2"},
    {"SR_IN2", "0"},
    {"SR_OUT1", "2"},
    {"SR_OUT6", "0"},
    {"STREAM_T", "300."},
    {"SIDE1", "3"},
    {"SIDE2", "4"},
    {"SIDE3", "3"},
    {"SIDE6", "3"},
    {"WALL", ""},
    {"INITIAL_STATE", "1"},
    {"INITIAL_GAS", "0"},
    {"SECONDARY", ""},
    {"FNUM", "1.E15"},
    {"SAMPLING", "0"},
    {"SECOND_SAMPLING", "1."},
    {"SAMPLES", "5"},
    {"STEADY", ""},
    {"MNM", "1000"},
    {"MOVES1", "2"},
    {"MOVES2", "3"},
    {"INDEX", "0"},
    {"SUBCELL", "0"},
    {"TREF1", "273."},
    {"OMEGA1", "0.75"},
    {"VIBT", "3000."},
    {"VC1", "50."},
    {"VC2", "0."},
    {"DOF", "0."},
    {"EA", "0."},
    {"PRE", "1."},
    {"TEXP", "0."},
    {"EREACT", "0."},
    {"TB1", "1."},
    {"SR_E", "0."},
    {"STREAM_N", "1.E20"},
    {"STREAM_U", "0."},
    {"FRAC1", "0.5"},
    {"REF_TIME", "1.E-5"},
    {"OUTPUT", "1."},
};

// One surface of four points (a corner of the unit cube) with one solid and one stream triangle, for
// the flow data above (two species, one surface reaction).
inline const char* const SURFACE_TEMPLATE = R"(${NSURF}   surfaces
${NPOINTS}  points
${NSOLID}   solid triangles
${NENTRY}   flow entry triangles
0. 0. 0.
1. 0. 0.
0. 1. 0.
${P4}
${T1}       triangle 1
${C1}       its code
${TW}        temperature
${SPECULAR}      specular fraction
${ADS}
${OUTGAS}
0.
0.
${PROB}         probability of surface reaction 1
${T2}       triangle 2
${C2}
${ENTRY}
)";

inline const Items SURFACE_DEFAULTS = {
    {"NSURF", "1"},     {"NPOINTS", "4"}, {"NSOLID", "1"},  {"NENTRY", "1"}, {"P4", "0. 0. 1."},
    {"T1", "1 3 2"},    {"C1", "1"},      {"T2", "1 2 4"},  {"C2", "3"},     {"TW", "300."},
    {"SPECULAR", "0."}, {"ADS", "0."},    {"OUTGAS", "0."}, {"PROB", "0.5"}, {"ENTRY", ""},
};

// The template with its ${NAME} fields filled in.
inline std::string fill_template(const std::string& text, const Items& defaults, const Items& overrides)
{
    std::string out;
    std::size_t pos = 0;
    while (true) {
        std::size_t start = text.find("${", pos);
        if (start == std::string::npos)
            break;
        std::size_t end = text.find('}', start);
        std::string name = text.substr(start + 2, end - start - 2);
        out += text.substr(pos, start - pos);
        auto it = overrides.find(name);
        out += it != overrides.end() ? it->second : defaults.at(name);
        pos = end + 1;
    }
    return out + text.substr(pos);
}

inline std::string flow_file(const Items& overrides = {})
{
    return fill_template(FLOW_TEMPLATE, FLOW_DEFAULTS, overrides);
}

inline std::string surface_file(const Items& overrides = {})
{
    return fill_template(SURFACE_TEMPLATE, SURFACE_DEFAULTS, overrides);
}

#endif
