// Fixtures of the geometry tests: a flowfield box and closed or open bodies built in the test, the
// diagnostic log captured in a scratch file, fatal stops turned into exceptions.
#ifndef QR4T_TESTS_GEOMETRY_GEOMETRY_FIXTURE_H
#define QR4T_TESTS_GEOMETRY_GEOMETRY_FIXTURE_H

#include "app/state/box.h"
#include "app/state/cells.h"
#include "app/state/clear_state.h"
#include "app/state/divisions.h"
#include "app/state/gas.h"
#include "app/state/samples.h"
#include "app/state/surface.h"
#include "base/list_io.h"
#include "tests/geometry/bodies.h"
#include "tests/base/base_test_support.h"
#include "toolkit/win/entry.h"

#ifndef _WIN32
#include "toolkit/headless/headless.h"
#else
#include "tests/demo/close_pictures_win.h"
#endif

#include <array>
#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

// Clears every group the geometry touches, opens the diagnostic log in the scratch folder and turns
// fatal stops into exceptions.
class GeometryTest : public FatalToException {
protected:
    void SetUp() override
    {
        FatalToException::SetUp();
        clear_every_state_group();
        GAS.SPECIES_COUNT = 1;
#ifndef _WIN32
        HEADLESS.reset();
#endif
        diag_path = scratch.path("DIAG.TXT");
        unit_open(UNIT_DIAG, diag_path, UnitMode::WRITE_TEXT);
    }

    // The diagnostic log so far (the unit is flushed first).
    std::string diag()
    {
        std::fflush(unit_file(UNIT_DIAG));
        return read_file(diag_path);
    }

    // The sub-elements in flow of element (ex, ey, ez) of division (ix, iy, iz), or -1 when the division
    // is no surface division.
    static int in_flow(int ix, int iy, int iz, int ex, int ey, int ez)
    {
        const int code = DIVISIONS.DIVISION_INFO(DIVISION_CODE, iz, iy, ix);
        return code < 0 ? DIVISIONS.SUB_ELEMENTS_IN_FLOW(-code, ez, ey, ex) : -1;
    }

    std::string diag_path;
#ifdef _WIN32
    PictureCloser closer;  // the set-up's pictures wait until their window is closed
#endif
};

// A geometry test that runs in the scratch folder, where the set-up writes "NODES.TXT".
class GeometryRunTest : public GeometryTest {
protected:
    void SetUp() override
    {
        GeometryTest::SetUp();
        if (original_folder.empty())
            original_folder = std::filesystem::current_path();
        std::filesystem::current_path(scratch.path(""));
    }
    void TearDown() override
    {
        std::filesystem::current_path(original_folder);
        GeometryTest::TearDown();
    }
    std::filesystem::path original_folder;
};

// Recorded calls of the toolkit entry operations that begin with the text; the host build records them,
// the win build runs the real toolkit and answers -1.
inline int toolkit_calls(const std::string& prefix)
{
#ifndef _WIN32
    return HEADLESS.count(prefix);
#else
    (void)prefix;
    return -1;
#endif
}

// Whether the text holds the line (the list-directed text of the items).
inline bool has_line(const std::string& text, std::initializer_list<ListItem> items)
{
    return text.find(list_directed_text(items)) != std::string::npos;
}

#endif
