// Hardcopy device selection from the PRINTER, PLOTTER and HPGL2 settings, and the raster printer
// settings of the resolution classes.
#include "toolkit/win/device_select.h"
#include "toolkit/win/settings.h"

#include <gtest/gtest.h>

namespace {

struct DeviceSelect : testing::Test {
    void SetUp() override
    {
        HC_DEVICE_CONFIG = HcDeviceConfig{};
        HC_RASTER_PRINTER = HcRasterPrinter{};
    }
};

}  // namespace

TEST_F(DeviceSelect, PrinterCodesOutsideTheTableGive28)
{
    for (int code : {0, 1, 27, 39, 99, -5}) {
        SetUp();
        HcPrinterSelect(code);
        EXPECT_EQ(HC_DEVICE_CONFIG.printer_model, 28) << code;
        EXPECT_EQ(HC_DEVICE_CONFIG.model_explicit, 0) << code;
        EXPECT_EQ(HC_RASTER_PRINTER.model, 28) << code;
    }
    HcPrinterSelect(2);
    EXPECT_EQ(HC_DEVICE_CONFIG.printer_model, 2);
    EXPECT_EQ(HC_DEVICE_CONFIG.model_explicit, 1);
}

TEST_F(DeviceSelect, ResolutionClassesAndPageLayoutWords)
{
    struct Case {
        int model;          // a model code of the class
        int given_class;    // class of its row
        int counted_class;  // class as it counts afterwards
        int count;
        int highest;
        int line_feed;
        int pins;
    } cases[] = {
        {2, 1, 1, 3, 240, 23, 8},   {3, 2, 2, 4, 240, 23, 8},
        {4, 3, 3, 2, 160, 22, 8},   {5, 4, 4, 4, 360, 29, 24},
        {6, 5, 5, 4, 360, 24, 24},  {8, 6, 6, 3, 720, 23, 1},
        {10, 9, 9, 2, 180, 23, 1},  {28, 7, 7, 4, 300, 23, 1},
        {16, 11, 7, 4, 600, 23, 1},  // class 11 then counts as 7
        {17, 12, 8, 3, 300, 23, 1},  // class 12 then counts as 8
    };
    for (const auto& c : cases) {
        SetUp();
        EXPECT_EQ(raster_printer_model(c.model).printer_class, c.given_class) << c.model;
        HcPrinterSelect(c.model);
        const HcRasterPrinter& p = HC_RASTER_PRINTER;
        EXPECT_EQ(p.printer_class, c.counted_class) << c.model;
        EXPECT_EQ(p.resolution_count, c.count) << c.model;
        EXPECT_EQ(p.resolutions[0], c.highest) << c.model;
        EXPECT_EQ(p.line_feed, c.line_feed) << c.model;
        EXPECT_EQ(p.pins, c.pins) << c.model;
    }
    HcPrinterSelect(2);
    EXPECT_EQ(HC_RASTER_PRINTER.resolutions, (std::array<int, 4>{240, 120, 60, 0}));
    HcPrinterSelect(12);
    EXPECT_EQ(HC_RASTER_PRINTER.resolutions, (std::array<int, 4>{300, 150, 100, 75}));
}

TEST_F(DeviceSelect, HpglTwoModelsChooseTheirVariant)
{
    struct Case {
        int model, variant;
    } cases[] = {{29, 3}, {32, 2}, {35, 2}, {38, 5}};
    for (const auto& c : cases) {
        SetUp();
        HcPrinterSelect(c.model);
        EXPECT_EQ(HC_DEVICE_CONFIG.hpgl2_variant, c.variant) << c.model;
        EXPECT_EQ(HC_DEVICE_CONFIG.hpgl2_explicit, 0) << c.model;
    }
    // A model without HP-GL/2 leaves the variant to the later selection.
    SetUp();
    HcPrinterSelect(28);
    EXPECT_EQ(HC_DEVICE_CONFIG.hpgl2_variant, 0);
    HcHpgl2Select(0);
    EXPECT_EQ(HC_DEVICE_CONFIG.hpgl2_variant, 1);
    HcHpgl2Select(4);
    EXPECT_EQ(HC_DEVICE_CONFIG.hpgl2_variant, 4);
    EXPECT_EQ(HC_DEVICE_CONFIG.hpgl2_explicit, 1);
}

TEST_F(DeviceSelect, PlotterValues)
{
    HcPlotterSelect(7);
    EXPECT_EQ(HC_DEVICE_CONFIG.plotter_variant, 7);
    EXPECT_EQ(HC_DEVICE_CONFIG.plotter_explicit, 1);
    SetUp();
    HcPlotterSelect(13);
    EXPECT_EQ(HC_DEVICE_CONFIG.plotter_variant, 1);
    EXPECT_EQ(HC_DEVICE_CONFIG.hpgl2_variant, 3);
    EXPECT_EQ(HC_DEVICE_CONFIG.hpgl2_explicit, 1);
    EXPECT_EQ(HC_DEVICE_CONFIG.plotter_explicit, 0);
    SetUp();
    HcPlotterSelect(16);
    EXPECT_EQ(HC_DEVICE_CONFIG.plotter_variant, 1);
    EXPECT_EQ(HC_DEVICE_CONFIG.plotter_explicit, 0);
}
