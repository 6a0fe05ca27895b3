// PLOT_MOLECULE_HISTORY: the number of simulated molecules against flow time, from the ring of 200
// (time, NM) pairs that every sample writes, in a small plot at the top of the main window; beside the
// curve a bar one standard deviation of such a molecule number high, so that the user can tell changes
// of NM from statistical scatter.
#include "app/displays/displays.h"

#include "app/state/box.h"
#include "app/state/run.h"
#include "toolkit/graphics/entry.h"
#include "toolkit/graphics/gr_area.h"
#include "toolkit/graphics/window_text.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int HISTORY_SLOTS = 200;
constexpr float NM_IN_USE = 0.5f;  // entries with NM at or below this were never written
constexpr int CURRENT_WINDOW = -1;
constexpr int SOLID = 4, OUTLINE = 0;
constexpr int FILLED_HEAD = 2;

struct Entry {
    float time = 0.0f;
    float nm = 0.0f;
};

// Slot k of the ring; an unallocated ring reads as never written.
Entry entry(int k)
{
    const auto& H = RUN.NM_HISTORY;
    if (!H.allocated())
        return {};
    return {H(1, k), H(2, k)};
}

}  // namespace

void PLOT_MOLECULE_HISTORY()
{
    // The plot area, filled.
    IGrSelectTarget(1, CURRENT_WINDOW);
    IGrArea(0.387f, 0.768f, 0.699f, 1.0f);
    IGrUnits(-1.0f, -50.0f, 101.0f, 120.0f);
    IGrFillPattern(SOLID, 0, 0);
    IGrColourN(223);
    IGrRectangle(-1.0f, -50.0f, 101.0f, 120.0f);
    IGrFillPattern(OUTLINE, 0, 0);
    IGrColourN(0);

    // The ranges: time over every slot (unwritten slots hold time 0), NM over the written ones.
    float tmin = 1.0e20f, tmax = -1.0e-20f, nmin = 1.0e20f, nmax = -1.0e20f;
    bool any = false;
    for (int k = 1; k <= HISTORY_SLOTS; ++k) {
        const Entry e = entry(k);
        tmin = std::min(tmin, e.time);
        tmax = std::max(tmax, e.time);
        if (e.nm > NM_IN_USE) {
            any = true;
            nmin = std::min(nmin, e.nm);
            nmax = std::max(nmax, e.nm);
        }
    }
    const float trange = static_cast<float>(double(tmax) - tmin);
    const float nrange = static_cast<float>(double(nmax) - nmin);
    const bool curve = trange > 1.0e-20f && nrange > 1.0e-6f;

    // The curve, newest entry first, walking back through the ring.
    if (curve) {
        IGrColourN(127);
        auto point_x = [&](const Entry& e) {
            return static_cast<float>((double(e.time) - tmin) * 100.0 / trange);
        };
        auto point_y = [&](const Entry& e) {
            return static_cast<float>((double(e.nm) - nmin) * 100.0 / nrange);
        };
        int k = RUN.HISTORY_INDEX - 1;
        if (k < 1 || k > HISTORY_SLOTS)
            k = HISTORY_SLOTS;
        const Entry newest = entry(k);
        IGrMoveTo(point_x(newest), point_y(newest));
        for (int step = 1; step < HISTORY_SLOTS; ++step) {
            k = k == 1 ? HISTORY_SLOTS : k - 1;
            const Entry e = entry(k);
            if (e.nm > NM_IN_USE)
                IGrLineTo(point_x(e), point_y(e));
        }
        IGrColourN(0);
    }

    // The labels, in window units. Without a written entry there are no numbers to show.
    WGrTextColour(15, 0);
    WGrTextString(5000, 1960, "Past");
    WGrTextReal(5030 + WGrTextLength("Past"), 1960, static_cast<float>(double(trange) / BOX.SCALE_FACTOR),
                "(E11.3)");
    WGrTextString(6200, 1960, "seconds");
    WGrTextString(4550, 2220, "Molecule Number History");
    if (any) {
        WGrTextColour(12, 0);
        WGrTextInteger(4000, 1960, gr_trunc(double(nmin) + 0.5), 10);
        WGrTextInteger(4000, 230, gr_trunc(double(nmax) + 0.5), 10);
    }
    WGrTextColour(10, 0);
    WGrTextString(5400, 230, "1 standard deviation");

    // The bar: sqrt of the mean molecule number in the plot's y scale, centred on the middle. A
    // deviation larger than the range of the curve (the first samples of a run, or a steady count)
    // spans the curve's band 0..100 and no more: a longer bar ran through the labels above and below
    // the curve, and its filled heads, which widen with their length, covered the whole picture.
    if (nrange > 1.0e-6f) {
        const double s = std::min(std::sqrt((double(nmin) + nmax) / 2.0) / nrange, 1.0);
        IGrFillPattern(SOLID, 0, 0);
        IGrColourN(63);
        IGrArrow(50.0f, 50.0f, 50.0f, static_cast<float>(50.0 * (1.0 - s)), FILLED_HEAD);
        IGrArrow(50.0f, 50.0f, 50.0f, static_cast<float>(50.0 * (1.0 + s)), FILLED_HEAD);
    }

    // The text and drawing colours back to their defaults.
    WGrTextColour(0, 15);
    IGrColourN(0);
}
