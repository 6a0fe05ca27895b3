// Test equipment of the restart-set tests: a fresh working folder per test, the diagnostic log open,
// fatal stops turned into exceptions, and a small case whose every state array and scalar holds
// distinct values.
#ifndef QR4T_TESTS_RESTART_RESTART_TEST_SUPPORT_H
#define QR4T_TESTS_RESTART_RESTART_TEST_SUPPORT_H

#include "app/restart/restart.h"
#include "app/restart/restart_io.h"
#include "tests/casedata/case_test_support.h"

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

// Gives every scalar a distinct value and every array byte a value from a running counter.
struct FillVisitor {
    int counter = 1;

    template <class T>
    void operator()(T& value)
    {
        value = static_cast<T>(counter++);
    }
    template <class T, int R>
    void operator()(Array<T, R>& array)
    {
        auto* bytes = reinterpret_cast<unsigned char*>(array.data());
        for (std::size_t i = 0; i < array.bytes(); ++i)
            bytes[i] = static_cast<unsigned char>(counter++ * 7 + i);
    }
    template <class T, int R, class... E>
    void fixed(Array<T, R>& array, E... extents)
    {
        array.allocate(extents...);
        (*this)(array);
    }
    template <class T>
    void fixed_block(T* data, std::size_t count)
    {
        for (std::size_t i = 0; i < count; ++i)
            data[i] = static_cast<T>(counter++);
    }
    void check() {}
};

// The record bytes of every file of the set as the state stands: the state in a comparable form.
inline std::vector<std::string> state_snapshot()
{
    std::vector<std::string> records;
    std::vector<unsigned char> zeros;
    for (int file = 0; file < RESTART_FILE_COUNT; ++file) {
        WriteVisitor writer{RecordWriter{}, zeros};
        if (restart_file_in_set(file))
            restart_items(file, writer);
        std::FILE* f = std::tmpfile();
        std::string error;
        EXPECT_TRUE(writer.record.write(f, error)) << error;
        std::rewind(f);
        std::string bytes;
        char buffer[4096];
        std::size_t n;
        while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0)
            bytes.append(buffer, n);
        std::fclose(f);
        records.push_back(bytes);
    }
    return records;
}

// Size items of a small case; `vibration` and `continuous` pick the variant and the indexing.
inline void set_size_items(bool vibration, bool continuous)
{
    SURFACE.SURFACE_COUNT = 2;
    GAS.SPECIES_COUNT = 2;
    SURFACE.POINT_COUNT = 5;
    SURFACE.TRIANGLE_COUNT = 4;
    BOX.DIVISIONS_X = 2;
    BOX.DIVISIONS_Y = 3;
    BOX.DIVISIONS_Z = 1;
    DIVISIONS.TOTAL_SURFACE_INDEX_SIZE = 7;
    CELLS.MAX_CELLS = 6;
    RUN.MNM = 10;
    MOLECULES.PV_ROWS = 4;
    MOLECULES.IP_ROWS = 3;
    RUN.INDEX_MODE = continuous ? 1 : 0;
    RUN.XREF_SIZE = continuous ? 60 : 1;
    MOLECULES.IPS_SIZE = 4;
    MOLECULES.ISCH_SIZE = 2;
    DIVISIONS.SURFACE_DIVISION_COUNT = 2;
    DIVISIONS.SURFACE_ELEMENT_COUNT = 3;
    DIVISIONS.MNSEG = 3;
    RUN.SAMPLING_MODE = 1;
    GAS.MAX_VIB_MODES = vibration ? 2 : 0;
    GAS.GAS_REACTION_DIM = 3;
    GAS.SURFACE_REACTION_DIM = 1;
    GAS.THIRD_BODY_DIM = 2;
    RUN.SURFACE_ROW1_MAX = 0;
    SURFACE.SOLID_TRIANGLE_COUNT = 3;
    SURFACE.ENTRY_TRIANGLE_COUNT = 1;
    BOX.ELEMENTS_PER_DIVISION_X = 2;
    BOX.ELEMENTS_PER_DIVISION_Y = 1;
    BOX.ELEMENTS_PER_DIVISION_Z = 2;
    RUN.SUBCELL_MODE = 1;
}

// The numbers that the reader checks as subscripts, made sound in the filled case: triangles 1 to 3
// solid, triangle 4 a flow-entry triangle, molecule m in cell 1 + (m - 1) mod 5, and so on.
inline void make_numbers_consistent()
{
    auto& S = SURFACE;
    for (int t = 1; t <= S.TRIANGLE_COUNT; ++t) {
        for (int c = 1; c <= 3; ++c)
            S.TRIANGLE(c, t) = (t + c) % S.POINT_COUNT + 1;
        S.TRIANGLE(TRIANGLE_KIND, t) = t <= 3 ? t : -1;
        S.TRIANGLE_SURFACE(t) = t <= 2 ? 1 : 2;
    }
    for (int k = 1; k <= 3; ++k)
        S.SOLID_TRIANGLE(1, k) = k;
    S.ENTRY_TRIANGLE(1) = 4;
    for (int n = 1; n <= 2; ++n) {
        S.SURFACE_FIRST_TRIANGLE(n) = 2 * (n - 1);
        S.SURFACE_TRIANGLE_COUNT(n) = 2;
    }
    const int codes[BOX_SIDES] = {3, 4, 2, 2, 5, 5};
    for (int K = 1; K <= BOX_SIDES; ++K)
        BOX.BOUNDARY_CODE(K) = codes[K - 1];

    auto& G = GAS;
    if (G.MAX_VIB_MODES > 0) {
        G.VIB_MODE_COUNT(1) = 2;
        G.VIB_MODE_COUNT(2) = 1;
    }
    for (int N = 1; N <= G.GAS_REACTIONS; ++N) {
        for (int i = 1; i <= 2; ++i) {
            G.REACTION_REACTANTS(i, N) = i;
            G.REACTION_PRODUCT_COUNT(i, N) = 1;
            G.REACTION_PRODUCTS(i, N, 1) = 3 - i;
        }
    }
    G.REACTION_PAIR_COUNT.fill(0);
    G.REACTION_PAIR_COUNT(1, 2) = G.REACTION_PAIR_COUNT(2, 1) = 1;
    G.REACTION_PAIR_LIST(1, 1, 2) = G.REACTION_PAIR_LIST(1, 2, 1) = 2;

    auto& D = DIVISIONS;
    for (int& code : D.DIVISION_INFO)
        code = std::abs(code % 100);
    D.DIVISION_INFO(DIVISION_CODE, 1, 1, 1) = -2;
    for (std::size_t i = 0; i < D.ELEMENT_CELL.size(); ++i)
        D.ELEMENT_CELL.data()[i] = static_cast<int>(i % 6);  // 0: an element without a cell
    for (int k = 1; k <= D.SURFACE_DIVISION_COUNT; ++k) {
        D.SURFACE_INDEX(SURFACE_INDEX_COUNT, k) = 3;
        D.SURFACE_INDEX(SURFACE_INDEX_START, k) = 4 * (k - 1);
    }
    for (int i = 1; i <= D.TOTAL_SURFACE_INDEX_SIZE; ++i)
        D.TOTAL_SURFACE_INDEX(i) = i % S.TRIANGLE_COUNT + 1;

    auto& M = MOLECULES;
    auto& C = CELLS;
    for (int K = 1; K <= CELLS.CELL_COUNT; ++K) {
        C.ICELL(ICELL_START, K) = 10 * (K - 1);
        C.ICELL(ICELL_COUNT, K) = 0;
        if (RUN.INDEX_MODE == INDEX_CONTINUOUS)
            C.IRCELL(K) = 10;
    }
    for (int m = 1; m <= M.NM; ++m) {
        int K = (m - 1) % CELLS.CELL_COUNT + 1;
        M.IP(IP_CELL, m) = K;
        M.IP(IP_SPECIES, m) = m % 2 + 1;
        int place = C.ICELL(ICELL_START, K) + ++C.ICELL(ICELL_COUNT, K);
        M.IP(IP_PLACE, m) = place;
        if (RUN.INDEX_MODE == INDEX_CONTINUOUS)
            M.XREF(place) = m;
    }
}

// A whole state: the size items above, every array allocated as the size record dimensions it, every
// array and scalar filled with distinct values, and the counts that the reader checks made sound.
inline void make_case(bool vibration, bool continuous)
{
    clear_every_state_group();
    set_size_items(vibration, continuous);
    for (PlannedArray& p : restart_plan())
        ASSERT_TRUE(p.allocate()) << p.name;
    FillVisitor fill;
    for (int file = FILE_SIZES + 1; file < RESTART_FILE_COUNT; ++file) {
        if (restart_file_in_set(file))
            restart_items(file, fill);
    }
    // The fill gave the size items of the run-state record (the elements per division) other values.
    set_size_items(vibration, continuous);
    MOLECULES.NM = 7;
    GAS.GAS_REACTIONS = 3;
    GAS.SURFACE_REACTIONS = 0;
    GAS.THIRD_BODY_TABLES = 2;
    CELLS.CELL_COUNT = 5;
    make_numbers_consistent();
}

// The case-data tests' working folder, with every state group of the restart set cleared.
class RestartTest : public CaseFolderTest {
protected:
    void SetUp() override
    {
        CaseFolderTest::SetUp();
        clear_every_state_group();
    }

    // Reads the set; returns the fatal message, or "" when the read succeeded.
    std::string read_set()
    {
        clear_every_state_group();
        try {
            READ_RESTART();
        } catch (const FatalStopped& stop) {
            unit_close(UNIT_RESTART);
            return stop.what();
        }
        return "";
    }

    // The diagnostic log since the start of the test or the last call; the log starts over.
    std::string log_text()
    {
        unit_close(UNIT_DIAG);
        std::string text = read_file("DIAG.TXT");
        EXPECT_TRUE(unit_open(UNIT_DIAG, "DIAG.TXT", UnitMode::WRITE_TEXT));
        return text;
    }
};

#endif
