// The page options against what each device can write: the setter refuses a page size, margin, copy
// count or line width beyond the device's fields with error 16, and the page arithmetic of the HP-GL,
// HP-GL/2, PostScript and CGM drivers does not overflow even for options written straight into the
// table.
#include "tests/drivers/driver_fixture.h"

#include "toolkit/drivers/cgm_driver.h"
#include "toolkit/drivers/hc_front_end.h"
#include "toolkit/drivers/hpgl2_driver.h"
#include "toolkit/drivers/hpgl_driver.h"
#include "toolkit/drivers/ps_driver.h"
#include "toolkit/graphics/hardcopy_dispatch.h"
#include "toolkit/common/error_state.h"

#include <climits>
#include <cstdio>

namespace {

class PageOptions : public DriverFixture {
protected:
    void TearDown() override
    {
        std::remove(name);
        DriverFixture::TearDown();
    }
    // Opens the plot file on the initialised device, draws a diagonal, ends the hardcopy; the bytes.
    std::string plot()
    {
        IHcOpen(name, "Page");
        send_line(0, 0, 639, 479);
        IHcOpen("S", " ");
        return read_file(name);
    }
    const char* const name = "page_options_test.out";
};

// One setter call on an initialised device: the value is stored, or refused with error 16.
struct PageCase {
    const char* what;
    int device;
    int number;
    int value;
    bool stored;
};

// Fault: options 1-4 were stored unchecked and added and multiplied in int by the drivers (undefined
// behaviour, and plot files with "*******" fields); copies and line widths overflowed their fields.
TEST_F(PageOptions, ValuesBeyondTheDeviceAreRefusedAndTheFileHoldsNoStars)
{
    const PageCase cases[] = {
        {"HP-GL widest page", HC_HPGL_DEVICE, HC_OPT_PAGE_WIDTH, 65535, true},
        {"HP-GL page past the corner fields", HC_HPGL_DEVICE, HC_OPT_PAGE_WIDTH, 2147483647, false},
        {"HP-GL empty page", HC_HPGL_DEVICE, HC_OPT_PAGE_HEIGHT, 0, false},
        {"HP-GL widest margin", HC_HPGL_DEVICE, HC_OPT_MARGIN_LEFT, 65535, true},
        {"HP-GL most negative margin", HC_HPGL_DEVICE, HC_OPT_MARGIN_BOTTOM, -65535, true},
        {"HP-GL margin at the integer limit", HC_HPGL_DEVICE, HC_OPT_MARGIN_LEFT, INT_MIN, false},
        {"HP-GL/2 tall page", HC_HPGL2_DEVICE, HC_OPT_PAGE_HEIGHT, 65535, true},
        {"HP-GL/2 margin past the fields", HC_HPGL2_DEVICE, HC_OPT_MARGIN_LEFT, 65536, false},
        {"HP-GL/2 copies in two digits", HC_HPGL2_DEVICE, HC_OPT_COPIES, 99, true},
        {"HP-GL/2 copies past two digits", HC_HPGL2_DEVICE, HC_OPT_COPIES, 100, false},
        {"PostScript widest box", HC_PS_DEVICE, HC_OPT_PAGE_WIDTH, 65535, true},
        {"PostScript page past the box", HC_PS_DEVICE, HC_OPT_PAGE_HEIGHT, 100000, false},
        {"PostScript most negative offset", HC_PS_DEVICE, HC_OPT_MARGIN_BOTTOM, -65535, true},
        {"PostScript offset at the integer limit", HC_PS_DEVICE, HC_OPT_MARGIN_BOTTOM, INT_MIN, false},
        {"PostScript copies past three digits", HC_PS_DEVICE, HC_OPT_COPIES, 1000, false},
        {"CGM wide page", HC_CGM_DEVICE, HC_OPT_PAGE_WIDTH, 65535, true},
        {"CGM negative page", HC_CGM_DEVICE, HC_OPT_PAGE_WIDTH, -5, false},
        {"CGM widest line", HC_CGM_DEVICE, HC_OPT_LINE_WIDTH, 32767, true},
        {"CGM line past 16-bit widths", HC_CGM_DEVICE, HC_OPT_LINE_WIDTH, 40000, false},
    };
    for (const auto& c : cases) {
        IHcDeviceSelect(GrOpInitialise, c.device);
        const int before = HcOptions(c.number);
        ERROR_STATE.last_error = 0;
        IHcOptionSet(c.number, c.value);
        EXPECT_EQ(HcOptions(c.number), c.stored ? c.value : before) << c.what;
        EXPECT_EQ(ERROR_STATE.last_error, c.stored ? 0 : GR_ERR_UNITS) << c.what;
        const std::string bytes = plot();
        ASSERT_FALSE(bytes.empty()) << c.what;
        if (c.device != HC_CGM_DEVICE) {  // CGM is binary: '*' is an ordinary byte there
            EXPECT_EQ(bytes.find('*'), std::string::npos) << c.what;
        }
    }
}

// Fault: the corner and translation sums were formed in int; options written straight into the table
// (as a caller that bypasses the setter could) overflowed them. The sanitizer build stops on such an
// overflow; here every driver writes its file.
TEST_F(PageOptions, PageArithmeticDoesNotOverflowOnUncheckedOptions)
{
    for (int device : {HC_HPGL_DEVICE, HC_HPGL2_DEVICE, HC_PS_DEVICE, HC_CGM_DEVICE}) {
        for (int extreme : {INT_MAX, INT_MIN}) {
            IHcDeviceSelect(GrOpInitialise, device);
            HcOptions(HC_OPT_PAGE_WIDTH) = INT_MAX;
            HcOptions(HC_OPT_PAGE_HEIGHT) = INT_MAX;
            HcOptions(HC_OPT_MARGIN_LEFT) = extreme;
            HcOptions(HC_OPT_MARGIN_BOTTOM) = extreme;
            HcOptions(HC_OPT_LINE_WIDTH) = INT_MAX;
            EXPECT_FALSE(plot().empty()) << device << " " << extreme;
        }
    }
}

}  // namespace
