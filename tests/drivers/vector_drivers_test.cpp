// The PostScript/EPS (2), SVG (3), DXF (8) and CGM (9) drivers: their lines and elements, the cases at
// their limits, and (host build) the files read by Ghostscript and xmllint.
#include "tests/drivers/driver_fixture.h"

#include "toolkit/drivers/cgm_driver.h"
#include "toolkit/drivers/dxf_driver.h"
#include "toolkit/drivers/hc_front_end.h"
#include "toolkit/drivers/ps_driver.h"
#include "toolkit/drivers/svg_driver.h"
#include "toolkit/graphics/colour_table.h"
#include "toolkit/graphics/gr_area.h"
#include "toolkit/graphics/hardcopy_dispatch.h"
#include "toolkit/graphics/image_save.h"
#include "toolkit/common/error_state.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <functional>
#include <map>

namespace {

class VectorDrivers : public DriverFixture {
protected:
    // Initialises the device, applies the options, opens the plot file, draws, ends the hardcopy; the
    // file's bytes.
    std::string plot(int device, const std::function<void()>& draw, std::map<int, int> options = {},
                     const char* title = nullptr)
    {
        IHcDeviceSelect(GrOpInitialise, device);
        for (auto [n, v] : options)
            HcOptions(n) = v;
        IHcOpen(name, title ? std::optional<std::string_view>(title) : std::nullopt);
        EXPECT_EQ(GrOutputSwitch.hardcopy, 1);
        draw();
        IHcOpen("S", " ");
        return read_file(name);
    }
    void TearDown() override
    {
        std::remove(name.c_str());
        std::remove("vector_test.png");
        DriverFixture::TearDown();
    }
    const std::string name = "vector_test.out";
};

void text_op(const std::string& text)
{
    auto& B = GrPrimitiveBlock;
    B.TEXT.fill(' ');
    std::copy(text.begin(), text.end(), B.TEXT.begin());
    B.IX(1) = static_cast<int>(text.size());
    B.IX(2) = 3;
    B.X(1) = 100;
    B.Y(1) = 100;
    B.X(3) = 200;
    B.Y(3) = 100;
    IHcSendOp(GrOpText);
}

// A filled shape with corners (x1, y1), (x2, y2): the offer (NVAL 1), then the closing call (-1).
void shape(int op, int style, float x1, float y1, float x2, float y2)
{
    auto& B = GrPrimitiveBlock;
    B.FILL(FILL_STYLE) = style;
    B.X(1) = x1;
    B.Y(1) = y1;
    B.X(2) = x2;
    B.Y(2) = y2;
    B.NVAL = 1;
    IHcSendOp(op);
    B.NVAL = -1;
    IHcSendOp(op);
}

void colour(int rgb)
{
    GrColourState.model = 2;
    gr_colour_n(rgb);
}

std::size_t count(const std::string& s, const std::string& what)
{
    std::size_t n = 0;
    for (std::size_t at = s.find(what); at != std::string::npos; at = s.find(what, at + 1))
        ++n;
    return n;
}

#ifndef _WIN32
// Runs a reader's command line; its exit status and what it printed.
int reader(const std::string& command, std::string& output)
{
    output.clear();
    FILE* p = popen((command + " 2>&1").c_str(), "r");
    if (!p)
        return -1;
    char buffer[512];
    while (std::fgets(buffer, sizeof buffer, p))
        output += buffer;
    return pclose(p);
}
#endif

TEST_F(VectorDrivers, ProbeAnswersTheDeviceAndChangesNothing)
{
    for (int device : {2, 3, 8, 9}) {
        HcOptions(HC_OPT_PAGE_WIDTH) = 123;
        HcDeviceNumber = device;
        GrPrimitiveBlock.NPTS = HC_PROBE;
        IHcDriverCall(GrOpInitialise);
        EXPECT_EQ(GrPrimitiveBlock.NPTS, device);
        EXPECT_EQ(HcOptions(HC_OPT_PAGE_WIDTH), 123) << device;
        EXPECT_EQ(HcDeviceBlock.initialised_device, 0) << device;
    }
}

// ---- PostScript

TEST_F(VectorDrivers, PsPathsJoinAndColoursWaitForTheStroke)
{
    const std::string ps =
        plot(2,
             [] {
                 send_line(10, 10, 100, 10);
                 send_line(100, 10, 100, 50);  // joins: no second "m"
                 colour(0x0000FF);
                 colour(0x00FF00);
                 colour(0xFF0000);  // three changes: the path is stroked once in the old colour
                 send_line(0, 0, 640, 480);
             },
             {{7, 0}});
    EXPECT_NE(ps.find("11.81 11.25 m\r\n118.13 11.25 l\r\n118.13 56.25 l\r\n0.0 0.0 0.0 g\r\ns\r\n"),
              std::string::npos)
        << ps;
    EXPECT_EQ(count(ps, " g\r\n"), 2u);  // black before the first stroke, blue (FF0000) before the second
    EXPECT_NE(ps.find("0.0 0.0 1.0 g\r\ns\r\n"), std::string::npos);
    EXPECT_NE(ps.find("0.0 0.0 m\r\n"), std::string::npos);  // 0 is written 0.0
    EXPECT_NE(ps.find("90.0 ro\r\n42.0 -560.0 translate\r\nnewpath\r\n%%Page: 1 1\r\n"), std::string::npos);
    EXPECT_NE(ps.find("/#copies 1 def\r\ngsave showpage grestore\r\n%%EOF\r\ninitgraphics\r\n \x04"),
              std::string::npos);
}

TEST_F(VectorDrivers, PsSegmentLimitStartsANewPath)
{
    const std::string ps = plot(2, [] {
        for (int i = 0; i < 256; ++i)
            send_line(static_cast<float>(i), 0, static_cast<float>(i + 1), 0);
    });
    // 255 segments, then a stroke and a fresh "m" for the 256th (beside the clip path's "m" and 3 "l").
    EXPECT_EQ(count(ps, " l\r\n"), 3u + 256u);
    EXPECT_EQ(count(ps, " m\r\n"), 1u + 2u);
    const std::size_t stroke = ps.find("\r\ns\r\n");
    ASSERT_NE(stroke, std::string::npos);
    const std::string next = ps.substr(stroke + 5, ps.find("\r\n", stroke + 5) - stroke - 5);
    EXPECT_EQ(next, "301.22 0.0 m");  // 255 x 756 / 639.99
}

TEST_F(VectorDrivers, PsInversionOption6)
{
    HcOptions(HC_OPT_INVERSION) = 2;
    struct Case {
        int rgb;
        float expected;
    };
    for (const Case c : {Case{0xFFFFFF, 0.0f}, Case{0x000000, 1.0f}, Case{0x808080, 128 / 255.0f}}) {
        float r = 0, g = 0, b = 0;
        GrColourState.model = 2;
        IHcPsColour(c.rgb, r, g, b);
        EXPECT_FLOAT_EQ(r, c.expected) << c.rgb;
    }
}

TEST_F(VectorDrivers, PsTextsEscapedCutAndRotated)
{
    const std::string ps = plot(2, [] {
        text_op("a(b)c\\d");
        GrTextState.angle = 30.0f;
        text_op(std::string(255, 'x'));
        GrTextState.angle = 0.0f;
        text_op(std::string(255, '('));
        text_op(std::string(255, '\\'));
        text_op("x" + std::string(254, ')'));
    });
    EXPECT_NE(ps.find("(a\\(b\\)c\\\\d) csh\r\n"), std::string::npos);
    EXPECT_NE(ps.find("30.0 ro\r\n(" + std::string(249, 'x') + ") csh\r\n330.0 ro\r\n"), std::string::npos);
    // The cut at 249 characters never parts an escape from its character.
    std::string esc;
    for (int i = 0; i < 124; ++i)
        esc += "\\(";
    EXPECT_NE(ps.find("\r\n(" + esc + ") csh\r\n"), std::string::npos);
    std::string back;
    for (int i = 0; i < 124; ++i)
        back += "\\\\";
    EXPECT_NE(ps.find("\r\n(" + back + ") csh\r\n"), std::string::npos);
    for (const auto& line : file_lines(name))
        EXPECT_LE(line.size(), 255u);
#ifndef _WIN32
    std::string out;
    EXPECT_EQ(reader("gs -q -dSAFER -dBATCH -dNOPAUSE -sDEVICE=nullpage " + name, out), 0) << out;
    EXPECT_EQ(out, "");
#endif
}

TEST_F(VectorDrivers, PsFontSizeBeyondItsFieldIsLimited)
{
    const std::string ps = plot(2, [] {
        GrTextState.effective_face = 2;
        GrTextState.char_width = 1.0f;  // the whole area: 756 points, x 1.65 in text mode 0
        GrTextState.char_height = 0.01f;
        GrDeviceArea.text_width = GrSurface.extent_x;
        GrDeviceArea.text_height = GrSurface.extent_y;
        IHcSendOp(GrOpFont);
        text_op("big");
    });
    EXPECT_NE(ps.find("/Helvetica-1 ff [999.9 0 0 5.4 0 0] ms\r\n"), std::string::npos) << ps;
}

TEST_F(VectorDrivers, EpsHasNoPageOperatorsAndClipsRectangles)
{
    const std::string eps = plot(2,
                                 [] {
                                     IGrClipArea(100, 100, 200, 200);
                                     IHcSendOp(GrOpClip);
                                     shape(GrOpRectanglePattern, 4, 50, 50, 300, 150);
                                 },
                                 {{22, 1}});
    EXPECT_EQ(eps.rfind("%!PS-Adobe-3.0 EPSF-3.0\r\n%%BoundingBox: 0 0 540 756\r\n", 0), 0u);
    EXPECT_NE(eps.find("90.0 ro\r\n0.0 -540.0 translate\r\n"), std::string::npos);
    for (const char* word : {"showpage", "#copies", "initgraphics", "clip", "\x04"})
        EXPECT_EQ(eps.find(word), std::string::npos) << word;
    EXPECT_NE(eps.find("118.13 112.50 m\r\n236.25 112.50 l\r\n236.25 168.75 l\r\n118.13 168.75 l\r\n"),
              std::string::npos)
        << eps;
}

// ---- SVG

TEST_F(VectorDrivers, SvgNumbers)
{
    struct Case {
        double value;
        const char* text;
    };
    for (const Case c : {Case{100, "100"}, Case{0, "0"}, Case{12.5, "12.5"}, Case{-3.25, "-3.25"},
                         Case{12.25, "12.25"}, Case{123456.0, "********"}}) {
        std::string t;
        int first = 0, last = 0;
        IHcSvgNumber(c.value, t, first, last);
        EXPECT_EQ(t.substr(first - 1, last - first + 1), c.text) << c.value;
    }
}

#ifndef _WIN32
// Whole numbers are written without their point ("100." is no SVG number, and a reader puts such a
// centre at 0): the filled circle is drawn where it stands.
TEST_F(VectorDrivers, SvgWholeNumbersPlaceShapes)
{
    const std::string svg = plot(3, [] {
        GrPrimitiveBlock.X(3) = 1.0f;
        shape(GrOpEllipsePattern, 4, 320, 240, 50, 50);
    });
    EXPECT_NE(svg.find("<ellipse cx=\"320\" cy=\"239.99\" rx=\"50\" ry=\"50\"/>"), std::string::npos) << svg;
    std::string out;
    ASSERT_EQ(reader("rsvg-convert -b white -o vector_test.png " + name, out), 0) << out;
    EXPECT_EQ(reader("convert vector_test.png -format '%[pixel:p{320,240}] %[pixel:p{320,60}]' info:", out),
              0);
    EXPECT_EQ(out, "srgb(0,0,0) srgb(255,255,255)");
}
#endif

TEST_F(VectorDrivers, SvgGroupsFillsAndLongPolylines)
{
    const std::string svg = plot(3,
                                 [] {
                                     IHcSendOp(GrOpLineWidth);  // the same style again: no second group
                                     for (int i = 1; i <= 40; ++i) {
                                         GrPolylineBuffer.X(i) = 10.5f * i;
                                         GrPolylineBuffer.Y(i) = 3.25f * i;
                                     }
                                     GrPrimitiveBlock.NPTS = 40;
                                     IHcSendOp(GrOpPolyline);
                                     colour(0xFFFFFF);
                                     colour(0x0000FF);  // red over white
                                     shape(GrOpRectanglePattern, 3, 0, 0, 10, 10);
                                     colour(0x000000);
                                     shape(GrOpRectanglePattern, 4, 0, 0, 10, 10);
                                     colour(0x141414);
                                     shape(GrOpRectanglePattern, 4, 0, 0, 10, 10);
                                 },
                                 {{6, 2}});
    EXPECT_EQ(count(svg, "<g style=\"fill:none;stroke:#000000"), 2u);  // the black of op 3, then of the fills
    EXPECT_NE(svg.find("<g style=\"stroke:none;fill:#ff7f7f\">"), std::string::npos);
    EXPECT_NE(svg.find("<g style=\"stroke:none;fill:#ffffff\">"), std::string::npos);  // black inverted
    EXPECT_NE(svg.find("<g style=\"stroke:none;fill:#141414\">"), std::string::npos);  // dark grey kept
    EXPECT_NE(svg.find("stroke:#141414"), std::string::npos);                          // strokes never
    const auto lines = file_lines(name);
    const auto first = std::find_if(lines.begin(), lines.end(),
                                    [](const std::string& l) { return l.rfind("<polyline", 0) == 0; });
    ASSERT_NE(first, lines.end());
    auto end = first;
    while (end != lines.end() && end->find("\"/>") == std::string::npos) {
        EXPECT_LE(end->size(), HC_SVG_LINE_LENGTH);
        EXPECT_NE(end->back(), ' ');
        ++end;
    }
    ASSERT_NE(end, lines.end());
    EXPECT_GE(end - first, 1);
    EXPECT_LE(end->size(), HC_SVG_LINE_LENGTH);
}

TEST_F(VectorDrivers, SvgTextOfEveryByteIsWellFormed)
{
    std::string all;
    for (int b = 1; b <= 255; ++b)
        all += static_cast<char>(b);
    const std::string svg = plot(3, [&] {
        text_op("a<b&c");
        GrTextState.angle = 90.0f;
        text_op(all);
    });
    EXPECT_NE(svg.find(">a&#60;b&#38;c</text>"), std::string::npos);
    EXPECT_NE(svg.find("rotate(-90)"), std::string::npos);
    EXPECT_NE(svg.find("&#128;&#129;"), std::string::npos);
    EXPECT_NE(svg.find("&#160;&#161;"), std::string::npos);
    EXPECT_EQ(svg.find('\x01'), std::string::npos);
#ifndef _WIN32
    std::string out;
    EXPECT_EQ(reader("xmllint --noout " + name, out), 0) << out;
    EXPECT_EQ(reader("rsvg-convert -o vector_test.png " + name, out), 0) << out;
#endif
}

TEST_F(VectorDrivers, SvgClipNumbersAndWholeSurface)
{
    const std::string svg = plot(3, [] {
        IGrClipArea(10, 10, 100, 100);
        IHcSendOp(GrOpClip);
        IGrClipArea(20, 20, 100, 100);
        IHcSendOp(GrOpClip);
        shape(GrOpTrianglePattern, 4, 0, 0, 10, 10);
        IGrClipArea(0, 0, 1000, 1000);
        IHcSendOp(GrOpClip);
        shape(GrOpTrianglePattern, 4, 0, 0, 10, 10);
    });
    EXPECT_NE(svg.find("<clipPath id=\"clip1\">"), std::string::npos);
    EXPECT_NE(svg.find("<clipPath id=\"clip2\">"), std::string::npos);
    EXPECT_EQ(count(svg, "clip-path:url(#clip2)"), 1u);
    EXPECT_EQ(count(svg, "<clipPath"), 2u);
}

// ---- DXF

TEST_F(VectorDrivers, DxfColourSearch)
{
    EXPECT_EQ(hc_dxf_colour_search(0x0000FF), 1);  // pure red, entries 1 and 10: the first
    EXPECT_EQ(hc_dxf_colour_search(0xFFFFFF), 7);
    // Black has no entry: the nearest by distance in the HSV cone. The nearest entries are those of
    // value 0x26 and saturation 1/2 (all at the same distance, so rounding picks among them).
    const int black = HC_DXF_COLOURS[static_cast<std::size_t>(hc_dxf_colour_search(0x000000) - 1)];
    const int channels[3] = {black >> 16, black >> 8 & 255, black & 255};
    EXPECT_EQ(*std::max_element(channels, channels + 3), 0x26) << std::hex << black;
    EXPECT_EQ(*std::min_element(channels, channels + 3), 0x13) << std::hex << black;
}

TEST_F(VectorDrivers, DxfGroupsAndEntities)
{
    const std::string dxf = plot(8, [] {
        colour(0x0000FF);
        GrLineState.line_type = 2;
        send_line(0, 0, 640, 480);
        GrLineState.line_type = 9;  // no table entry: continuous
        send_line(0, 0, 10, 10);
        GrLineState.line_type = 0;
        GrPrimitiveBlock.NPTS = 0;
        IHcSendOp(GrOpPolyline);
        IGrClipArea(100, 100, 200, 200);
        shape(GrOpRectanglePattern, 4, 50, 50, 300, 150);
        GrTextState.angle = 45.7f;
        text_op("Tilted");
        // Square user units: the circle and the arc are the format's own.
        auto& B = GrPrimitiveBlock;
        B.X(3) = 1.0f;
        shape(GrOpEllipsePattern, 0, 320, 240, 50, 50);
        B.X(4) = 30;
        B.Y(4) = -60;
        IHcSendOp(GrOpArc);
        EXPECT_EQ(B.NVAL, 1);
    });
    // A line of type 2 with its name; the thickness 5 / 720 and the scaled end point (10.5, 7.5).
    EXPECT_NE(
        dxf.find("0\r\nLINE\r\n8\r\n1\r\n62\r\n1\r\n6\r\nDASHED\r\n39\r\n0.006944\r\n10\r\n0.\r\n20\r\n0."
                 "\r\n11\r\n10.5\r\n21\r\n7.5\r\n"),
        std::string::npos)
        << dxf;
    EXPECT_EQ(count(dxf, "\r\n6\r\nDASHED\r\n"), 1u);
    EXPECT_NE(
        dxf.find("POLYLINE\r\n8\r\n1\r\n62\r\n1\r\n39\r\n0.006944\r\n66\r\n1\r\n70\r\n0\r\n0\r\nSEQEND\r\n"),
        std::string::npos);
    // The rectangle clipped to (100..200, 100..150) in inches of 756 / (640 x 72) and 540 / (480 x 72).
    EXPECT_NE(
        dxf.find("SOLID\r\n8\r\n1\r\n62\r\n1\r\n10\r\n1.640625\r\n20\r\n1.5625\r\n11\r\n1.640625\r\n21\r\n2."
                 "34375\r\n12\r\n3.28125\r\n22\r\n1.5625\r\n13\r\n3.28125\r\n23\r\n2.34375\r\n"),
        std::string::npos);
    EXPECT_NE(dxf.find("\r\n50\r\n45\r\n1\r\nTilted\r\n"), std::string::npos);
    EXPECT_NE(dxf.find("$EXTMAX\r\n10\r\n10.500000\r\n20\r\n7.500000\r\n"), std::string::npos);
    EXPECT_EQ(dxf.substr(dxf.size() - 19), "0\r\nENDSEC\r\n0\r\nEOF\r\n");
    EXPECT_NE(
        dxf.find(
            "ARC\r\n8\r\n1\r\n62\r\n1\r\n39\r\n0.006944\r\n10\r\n5.25\r\n20\r\n3.75\r\n40\r\n0.820312\r\n"
            "50\r\n-30.\r\n51\r\n30.\r\n"),
        std::string::npos);
#ifndef _WIN32
    std::string out;
    EXPECT_EQ(
        reader("PATH=$(getconf PATH) python3 -c \"import ezdxf, collections; d = ezdxf.readfile('" + name +
                   "'); print(sorted(collections.Counter(e.dxftype() for e in d.modelspace()).items()), "
                   "len(d.audit().errors))\"",
               out),
        0);
    EXPECT_EQ(out,
              "[('ARC', 1), ('CIRCLE', 1), ('LINE', 2), ('POLYLINE', 1), ('SOLID', 1), ('TEXT', 1)] 0\n");
#endif
}

// ---- CGM

// The elements of a CGM file as (class, id, parameters), long forms and partitions joined.
struct Element {
    int cls, id;
    std::string params;
    int partitions;
};
std::vector<Element> elements(const std::string& f)
{
    std::vector<Element> out;
    std::size_t at = 0;
    auto word = [&](std::size_t i) {
        return (static_cast<unsigned char>(f[i]) << 8) | static_cast<unsigned char>(f[i + 1]);
    };
    while (at + 2 <= f.size()) {
        const int head = word(at);
        at += 2;
        Element e{head >> 12, (head >> 5) & 127, "", 0};
        int n = head & 31;
        if (n < 31) {
            e.params = f.substr(at, static_cast<std::size_t>(n));
            at += static_cast<std::size_t>(n + n % 2);
        } else {
            for (bool more = true; more && at + 2 <= f.size();) {
                const int w = word(at);
                at += 2;
                more = (w & 0x8000) != 0;
                n = w & 0x7FFF;
                e.params += f.substr(at, static_cast<std::size_t>(n));
                at += static_cast<std::size_t>(n + n % 2);
                ++e.partitions;
            }
        }
        out.push_back(e);
    }
    return out;
}

std::vector<const Element*> find(const std::vector<Element>& es, int cls, int id)
{
    std::vector<const Element*> r;
    for (const auto& e : es)
        if (e.cls == cls && e.id == id)
            r.push_back(&e);
    return r;
}

TEST_F(VectorDrivers, CgmTextsAndColours)
{
    const std::string cgm = plot(9,
                                 [] {
                                     colour(0x050505);
                                     send_line(0, 0, 10, 10);
                                     send_line(10, 10, 20, 20);  // same colour: one LINE COLOUR
                                     colour(0x808080);
                                     send_line(0, 0, 10, 10);
                                     text_op(std::string(19, 'a'));
                                     text_op(std::string(20, 'b'));
                                     text_op(std::string(255, 'c'));
                                     GrTextState.text_mode = 1;
                                     text_op("xyz");
                                 },
                                 {{6, 2}});
    const auto es = elements(cgm);
    const auto lc = find(es, 5, 4);
    ASSERT_EQ(lc.size(), 2u);
    EXPECT_EQ(lc[0]->params, std::string("\xfa\xfa\xfa\0", 4));  // (5, 5, 5) inverted
    EXPECT_EQ(lc[1]->params, std::string("\x80\x80\x80\0", 4));  // mid grey kept
    const auto rt = find(es, 4, 5);
    ASSERT_EQ(rt.size(), 3u);
    EXPECT_EQ(rt[0]->params.size(), 30u);
    EXPECT_EQ(rt[1]->params.size(), 31u);
    EXPECT_NE(cgm.find(std::string("\x40\xbf\x00\x1f", 4)), std::string::npos);  // long form, length 31
    // 255 characters: the long string form, 255 and the 16-bit length.
    EXPECT_EQ(rt[2]->params.substr(10, 3), std::string("\xff\x00\xff", 3));
    EXPECT_EQ(rt[2]->params.size(), 10u + 3u + 255u);
    const auto t = find(es, 4, 4);
    ASSERT_EQ(t.size(), 1u);
    EXPECT_EQ(t[0]->params.size(), 6u + 1u + 3u);  // the true length in text mode 1
    EXPECT_EQ(es.back().cls, 0);
    EXPECT_EQ(es.back().id, 2);
}

TEST_F(VectorDrivers, CgmExtentFontListAndPages)
{
    // A page of 4000 by 1000 points: W would be 33333, so W = 32767 and H = 8333 x 32767 / 33333 = 8191.
    const std::string cgm = plot(9,
                                 [] {
                                     send_line(0, 0, 10, 10);
                                     GrPrimitiveBlock.NVAL = 0;
                                     GrPrimitiveBlock.NPTS = 0;
                                     IHcSendOp(GrOpHardcopyPage);
                                     send_line(0, 0, 10, 10);
                                 },
                                 {{1, 4000}, {2, 1000}, {28, 7}});
    const auto es = elements(cgm);
    const auto vdc = find(es, 2, 6);
    ASSERT_EQ(vdc.size(), 2u);  // each page is a picture of its own
    EXPECT_EQ(vdc[0]->params, std::string("\0\0\0\0\x7f\xff\x1f\xff", 8));
    EXPECT_EQ(find(es, 0, 3).size(), 2u);
    EXPECT_EQ(find(es, 0, 5).size(), 2u);
    const auto fonts = find(es, 1, 13);
    ASSERT_EQ(fonts.size(), 1u);
    EXPECT_EQ(fonts[0]->params.size(), 260u);  // option 28 outside 0..2: the list of 2
    EXPECT_EQ(fonts[0]->params.substr(0, 12), "\x0b"
                                              "Courier New");
}

TEST_F(VectorDrivers, CgmCellArrays)
{
    // A 7 x 2 image of one colour, and one 7000 pixels wide of alternating colours (35000 bytes a row).
    DibImage small;
    small.width = 7;
    small.height = 2;
    small.bit_count = 24;
    small.bits.assign(2 * 24, 0);
    for (int i = 0; i < 2 * 24; i += 3)
        small.bits[i] = 200;
    int status = 0, code = 0;
    img_dib_save(1, small, 7, 2, "vector_small.bmp", status, code);
    ASSERT_EQ(status, 0);
    DibImage wide;
    wide.width = 7000;
    wide.height = 1;
    wide.bit_count = 24;
    for (int x = 0; x < 7000; ++x)
        for (int k = 0; k < 3; ++k)
            wide.bits.push_back(static_cast<unsigned char>(x % 2 ? 255 : 0));
    img_dib_save(1, wide, 7000, 1, "vector_wide.bmp", status, code);
    ASSERT_EQ(status, 0);
    auto image = [](const char* file, int w, int h) {
        auto& B = GrPrimitiveBlock;
        B.TEXT.fill(' ');
        std::string(file).copy(B.TEXT.data(), B.TEXT.size());
        B.IX(2) = w;
        B.IY(2) = h;
        IHcSendOp(GrOpImageFile);
        return std::make_pair(B.NVAL, B.NPTS);
    };
    std::vector<std::pair<int, int>> answers;
    const std::string cgm = plot(9, [&] {
        answers.push_back(image("vector_small.bmp", 7, 2));
        answers.push_back(image("vector_wide.bmp", 7000, 1));
        answers.push_back(image("vector_small.bmp", 0, 2));          // no size
        answers.push_back(image("vector_small.bmp", 70000, 70000));  // beyond the loader's limit
        answers.push_back(image("vector_missing.bmp", 7, 2));
    });
    EXPECT_EQ(answers[0].first, 0);
    EXPECT_EQ(answers[1].first, 0);
    EXPECT_EQ(answers[2].first, 27);
    EXPECT_EQ(answers[3].first, 27);
    EXPECT_EQ(answers[4].first, 1);
    const auto es = elements(cgm);
    const auto cells = find(es, 4, 9);
    ASSERT_EQ(cells.size(), 2u);
    // Header partition, then each row: one run of 7 (5 bytes), a pad byte; partition words 0x8006, 6.
    EXPECT_EQ(cells[0]->partitions, 3);
    EXPECT_EQ(cells[0]->params.substr(20), std::string("\0\x07\0\0\xc8\0\0\x07\0\0\xc8\0", 12));
    EXPECT_NE(cgm.find(std::string("\x80\x06\0\x07\0\0\xc8\0\x00\x06\0\x07", 12)), std::string::npos);
    // 7000 runs: 32760 bytes, then 3240, each partition within its word.
    EXPECT_EQ(cells[1]->partitions, 3);
    EXPECT_EQ(cells[1]->params.size(), 20u + 35000u);
    std::remove("vector_small.bmp");
    std::remove("vector_wide.bmp");
}

// Fault: the CGM driver wrote the opaque text background even where the text word (the background-mode
// word, which the printer driver honours) forbids it; the SVG driver named a user-named face by its fallback
// face, and the Part's bare "font-family:" would void the next property.
TEST_F(VectorDrivers, OpaqueTextBackgroundAndUserFaceFamily)
{
    for (int mode : {0, 1}) {
        const std::string cgm = plot(9, [mode] {
            GrTextState.style = 8;
            GrPrimitiveBlock.FILL(FILL_TEXT_WORD) = mode;
            text_op("box");
            GrPrimitiveBlock.FILL(FILL_TEXT_WORD) = 0;
        });
        EXPECT_EQ(find(elements(cgm), 3, 4).size(), mode == 0 ? 2u : 0u) << mode;  // TRANSPARENCY 0, 1
    }
    const struct {
        int family;
        const char* name;
        const char* expected;
    } faces[] = {{2, "", "font-family:Arial,Helvetica;"},
                 {0, "Futura Book", "font-family:'Futura Book';"},
                 {0, "Bad'\"<&;Face", "font-family:'BadFace';"}};
    for (const auto& f : faces) {
        const std::string svg = plot(3, [&f] {
            GrTextState.family = f.family;
            GrTextState.effective_face = 2;
            GrTextState.face_name.fill(' ');
            std::copy_n(f.name, std::strlen(f.name), GrTextState.face_name.begin());
            text_op("text");
        });
        EXPECT_NE(svg.find(f.expected), std::string::npos) << f.name << svg;
    }
}

// The DXF TEXT height factor goes by the text mode (0.52 for whole strings, 0.63 for text sent a
// character at a time), the same table the HP-GL drivers scale their heights with; centred text
// carries its alignment point.
TEST_F(VectorDrivers, DxfTextHeightByModeAndCentredText)
{
    const struct {
        int mode;
        int justification;
        double factor;
    } cases[] = {{0, 0, 0.52}, {1, 0, 0.63}, {2, 1, 0.63}};
    for (const auto& c : cases) {
        const std::string dxf = plot(8, [&c] {
            GrTextState.text_mode = c.mode;
            GrTextState.justification = c.justification;
            text_op("abc");
        });
        const auto lines = file_lines(name);
        const auto text = std::find(lines.begin(), lines.end(), "TEXT");
        ASSERT_NE(text, lines.end()) << c.mode;
        const auto height = std::find(text, lines.end(), "40");
        ASSERT_NE(height, lines.end());
        const double expected =
            GrTextState.char_height * c.factor * HcDeviceBlock.sy * GrDeviceArea.text_height;
        EXPECT_NEAR(std::stod(*(height + 1)), expected, 1e-5) << c.mode;
        const auto align = std::find(text, lines.end(), "72");
        ASSERT_NE(align, lines.end());
        EXPECT_EQ(*(align + 1), c.justification == 1 ? "1" : "0") << c.mode;
        EXPECT_EQ(std::find(text, lines.end(), "11") != lines.end(), c.justification == 1) << c.mode;
    }
}

// Colour depths 4 and 3 (option 23): the colour count and RGB flag at the open, and the DXF colour of a
// line from the 16-group table (depth 4: number / 16) or the 32-band rule (depth 3: ((n + 16) / 32)
// mod 8, 0 taken as 7).
TEST_F(VectorDrivers, DxfColourDepths)
{
    const struct {
        int depth;
        int number;  // colour number of the line
        int colours;
        const char* dxf_colour;
    } cases[] = {{4, 0, 14, "8"}, {4, 35, 14, "9"}, {4, 255, 14, "8"}, {3, 0, 7, "7"},
                 {3, 40, 7, "1"}, {3, 240, 7, "7"}, {3, 200, 7, "6"}};
    for (const auto& c : cases) {
        const std::string dxf = plot(8,
                                     [&c] {
                                         GrColourState.model = 1;
                                         GrColourState.number[GR_CURRENT] = c.number;
                                         IHcSendOp(GrOpColour);
                                         send_line(0, 0, 10, 10);
                                     },
                                     {{HC_OPT_DEPTH, c.depth}});
        EXPECT_EQ(HcDeviceBlock.colours, c.colours) << c.depth << " " << c.number;
        EXPECT_EQ(GrDeviceInfo.true_colour[1], 0) << c.depth;
        EXPECT_NE(dxf.find("LINE\r\n8\r\n1\r\n62\r\n" + std::string(c.dxf_colour) + "\r\n"),
                  std::string::npos)
            << c.depth << " " << c.number;
    }
}

}  // namespace
