// The molecule store (MOLECULES): removal, append and growth.
//
// Molecules 1 .. NM are in use and the numbering is kept dense: a removed molecule's slot is refilled
// at once by the last molecule. EXTEND_MNM enlarges every molecule array by a factor, passing the
// contents through two scratch files so that the old and the new arrays never exist together.
#include "app/kernel/molecule_store.h"

#include "app/kernel/cell_index.h"
#include "app/state/gas.h"
#include "app/state/molecules.h"
#include "app/state/run.h"
#include "base/fatal.h"
#include "base/list_io.h"
#include "base/machine_memory.h"
#include "base/records.h"
#include "base/units.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

const char* const MOLS_SCRATCH = "EXTMOLS.SCR";
const char* const XREF_SCRATCH = "EXTMOLI.SCR";

// Integer part of a non-negative product, clamped into the 4-byte integer range.
int clamped_int(double x)
{
    if (!(x > 0.0))
        return 0;
    return x >= double(INT_MAX) ? INT_MAX : static_cast<int>(x);
}

std::FILE* open_scratch(const char* name, const char* mode)
{
    std::FILE* f = std::fopen(name, mode);
    if (!f)
        fatal_stop(std::string("EXTEND_MNM: cannot open the scratch file \"") + name + "\" for " +
                   (mode[0] == 'w' ? "writing: " : "reading: ") + std::strerror(errno));
    return f;
}

void write_failed(const char* name, long record, const std::string& why)
{
    fatal_stop(std::string("EXTEND_MNM: write error on the scratch file \"") + name + "\" at record " +
               std::to_string(record) + ": " + why);
}

void read_failed(const char* name, long record, const std::string& why)
{
    fatal_stop(std::string("EXTEND_MNM: scratch file \"") + name + "\" record " + std::to_string(record) +
               " cannot be read back: " + why);
}

// Writes every slot 1 .. MNM of the store to EXTMOLS.SCR, one record per slot:
// MOL_POS(1..3), PV(1..PV_ROWS), IP(1..IP_ROWS), MOL_TIME, MOL_VIB_LEVEL(1..MAX_VIB_MODES).
void write_molecule_records(std::FILE* f, int mnm, int modes)
{
    auto& M = MOLECULES;
    std::string error;
    for (int n = 1; n <= mnm; ++n) {
        RecordWriter w;
        w.put_bytes(&M.MOL_POS(1, n), 3 * sizeof(float));
        w.put_bytes(&M.PV(1, n), static_cast<std::size_t>(M.PV_ROWS) * sizeof(float));
        w.put_bytes(&M.IP(1, n), static_cast<std::size_t>(M.IP_ROWS) * sizeof(int32_t));
        w.put_bytes(&M.MOL_TIME(n), sizeof(double));
        if (modes > 0)
            w.put_bytes(&M.MOL_VIB_LEVEL(1, n), static_cast<std::size_t>(modes));
        if (!w.write(f, error))
            write_failed(MOLS_SCRATCH, n, error);
    }
}

void read_molecule_records(std::FILE* f, int mnm, int modes)
{
    auto& M = MOLECULES;
    std::string error;
    RecordReader r;
    for (int n = 1; n <= mnm; ++n) {
        if (!r.read(f, error))
            read_failed(MOLS_SCRATCH, n, error);
        bool ok = r.get_bytes(&M.MOL_POS(1, n), 3 * sizeof(float)) &&
                  r.get_bytes(&M.PV(1, n), static_cast<std::size_t>(M.PV_ROWS) * sizeof(float)) &&
                  r.get_bytes(&M.IP(1, n), static_cast<std::size_t>(M.IP_ROWS) * sizeof(int32_t)) &&
                  r.get_bytes(&M.MOL_TIME(n), sizeof(double));
        if (ok && modes > 0)
            ok = r.get_bytes(&M.MOL_VIB_LEVEL(1, n), static_cast<std::size_t>(modes));
        if (!ok || r.remaining() != 0)
            read_failed(MOLS_SCRATCH, n, "record of " + std::to_string(r.size()) + " bytes");
    }
}

void write_xref_records(std::FILE* f, int size)
{
    std::string error;
    for (int e = 1; e <= size; ++e) {
        RecordWriter w;
        w.put(MOLECULES.XREF(e));
        if (!w.write(f, error))
            write_failed(XREF_SCRATCH, e, error);
    }
}

void read_xref_records(std::FILE* f, int size)
{
    std::string error;
    RecordReader r;
    for (int e = 1; e <= size; ++e) {
        if (!r.read(f, error))
            read_failed(XREF_SCRATCH, e, error);
        if (!r.get(MOLECULES.XREF(e)) || r.remaining() != 0)
            read_failed(XREF_SCRATCH, e, "record of " + std::to_string(r.size()) + " bytes");
    }
}

void close_scratch(std::FILE* f, const char* name)
{
    if (std::fclose(f) != 0)
        fatal_stop(std::string("EXTEND_MNM: cannot close the scratch file \"") + name + "\"");
}

}  // namespace

int molecule_store_limit()
{
    const auto& M = MOLECULES;
    const bool continuous = RUN.INDEX_MODE == INDEX_CONTINUOUS;
    // Bytes of one slot: MOL_POS, PV, IP, MOL_TIME, MOL_VIB_LEVEL and its XREF places.
    double slot = 12.0 + 4.0 * std::max(M.PV_ROWS, 3) + 4.0 * std::max(M.IP_ROWS, 2) + 8.0 +
                  std::max(GAS.MAX_VIB_MODES, 0) + (continuous ? 24.0 : 0.0);
    double limit = continuous ? INT_MAX / 6.0 : double(INT_MAX);
    const double memory = static_cast<double>(machine_memory_bytes());
    if (memory > 0.0)
        limit = std::min(limit, memory / slot);
    return static_cast<int>(limit);
}

// copy_molecule: every field of molecule `from` into slot `to`.
void copy_molecule(int from, int to)
{
    auto& M = MOLECULES;
    const int modes = GAS.MAX_VIB_MODES;
    for (int i = 1; i <= 3; ++i)
        M.MOL_POS(i, to) = M.MOL_POS(i, from);
    for (int i = 1; i <= M.PV_ROWS; ++i)
        M.PV(i, to) = M.PV(i, from);
    for (int i = 1; i <= M.IP_ROWS; ++i)
        M.IP(i, to) = M.IP(i, from);
    for (int i = 1; i <= modes; ++i)
        M.MOL_VIB_LEVEL(i, to) = M.MOL_VIB_LEVEL(i, from);
    M.MOL_TIME(to) = M.MOL_TIME(from);
    // The copy has the clock and cell of the molecule copied, so the same passes are skipped.
    if (std::size_t(std::max(from, to)) <= M.MOL_SKIP.size())
        M.MOL_SKIP(to) = M.MOL_SKIP(from);
}

// open_molecule_slot: a new molecule number NM with every field zero.
// Under normal indexing IP row 1 is not the molecule's: column p holds the molecule at list position p
// of the last indexing, which the move phase still reads (the substitute of a product in no cell), so
// it stays as it is; under continuous indexing it is the molecule's place in XREF and is cleared.
int open_molecule_slot()
{
    if (MOLECULES.NM >= RUN.MNM)
        EXTEND_MNM(MNM_GROWTH);
    auto& M = MOLECULES;
    const int n = ++M.NM;
    for (int i = 1; i <= 3; ++i)
        M.MOL_POS(i, n) = 0.0f;
    for (int i = 1; i <= M.PV_ROWS; ++i)
        M.PV(i, n) = 0.0f;
    if (RUN.INDEX_MODE == INDEX_CONTINUOUS)
        M.IP(IP_PLACE, n) = 0;
    for (int i = IP_CELL; i <= M.IP_ROWS; ++i)
        M.IP(i, n) = 0;
    for (int i = 1; i <= GAS.MAX_VIB_MODES; ++i)
        M.MOL_VIB_LEVEL(i, n) = 0;
    M.MOL_TIME(n) = 0.0;
    if (std::size_t(n) <= M.MOL_SKIP.size())
        M.MOL_SKIP(n) = 0;  // its clock is read in the next pass (or in this one, if still to come)
    return n;
}

// REMOVE_MOLECULE: takes molecule N (in cell NCELL) out of the store. The last molecule moves into
// slot N (and, with continuous indexing, its list entry in XREF is renamed), NM drops by one and N is
// stepped back by one, so that a caller walking upward visits slot N again.
void REMOVE_MOLECULE(int& N, int NCELL)
{
    auto& M = MOLECULES;
    if (N == M.DEBUG_MOLECULE) {
        write_list(UNIT_DIAG, {"MOL", N, " REMOVED, REPLACED BY", M.NM});
        write_list(UNIT_DIAG, {});
    }
    const bool continuous = RUN.INDEX_MODE == INDEX_CONTINUOUS;
    if (continuous)
        REMOVE_FROM_CELL_LIST(std::abs(NCELL), N);  // a cell may stand negated as a recombination mark
    if (N != M.NM) {
        copy_molecule(M.NM, N);
        if (continuous) {
            const int L = M.IP(IP_PLACE, N);
            if (L > 0)
                M.XREF(L) = N;
        }
    }
    --M.NM;
    --N;
}

// ADD_MOLECULE: appends a copy of molecule K as molecule NM (growing the store when full) and, with
// continuous indexing, lists it in cell NCELL. The caller then overwrites what differs.
void ADD_MOLECULE(int K, int NCELL)
{
    const int n = open_molecule_slot();
    copy_molecule(K, n);
    if (RUN.INDEX_MODE == INDEX_CONTINUOUS)
        INSERT_INTO_CELL_LIST(NCELL, n);
}

// EXTEND_MNM: enlarges every molecule array (and XREF with continuous indexing) to int(MNM x FACTOR)
// slots. The contents go to the scratch files, the arrays are released, allocated anew (zero-filled)
// and read back, and the scratch files are deleted. NM, molecule numbers and list places stay.
// A factor above 1 always gives at least one more slot: int(MNM x 1.1) is MNM itself for MNM < 10, and
// the caller that appends would then write past the store.
void EXTEND_MNM(float FACTOR)
{
    auto& M = MOLECULES;
    const int old_mnm = RUN.MNM;
    const int old_xref = RUN.XREF_SIZE;
    const int modes = GAS.MAX_VIB_MODES;
    const bool continuous = RUN.INDEX_MODE == INDEX_CONTINUOUS;

    // New extents.
    int new_mnm = clamped_int(double(old_mnm) * FACTOR);
    if (FACTOR > 1.0f && new_mnm <= old_mnm) {
        if (old_mnm == INT_MAX)
            fatal_stop("EXTEND_MNM: the molecule store cannot grow beyond MNM = " + std::to_string(old_mnm));
        new_mnm = old_mnm + 1;
    }
    // A store that keeps growing (a molecule weight far too small for the flow) stops the run before
    // it takes the machine's memory and disk.
    const int limit = molecule_store_limit();
    if (new_mnm > limit) {
        write_list(UNIT_DIAG, {"PROGRAM COULD NOT ALLOCATE SPACE FOR EXTEND_MNM"});
        fatal_stop("The molecule store would grow from MNM = " + std::to_string(old_mnm) + " to " +
                   std::to_string(new_mnm) + " molecules, more than the " + std::to_string(limit) +
                   " that the counts and the memory of this machine can hold; the molecule weight FNUM = " +
                   value_text(RUN.FNUM) + " of QR4TD.DAT is too small for this flow");
    }
    M.NEW_XREF_SIZE = continuous ? clamped_int(new_mnm * 6.0) : 1;

    // Out to the scratch files.
    write_list(UNIT_DIAG, {"Maximum number of molecules is to be extended from", old_mnm, " to", new_mnm});
    write_list(UNIT_DIAG, {"( if the additional memory is available !! )"});
    std::FILE* mols = open_scratch(MOLS_SCRATCH, "wb");
    std::FILE* xref = continuous ? open_scratch(XREF_SCRATCH, "wb") : nullptr;
    write_list(UNIT_DIAG, {"Start write to temporary disk storage"});
    write_molecule_records(mols, old_mnm, modes);
    if (xref)
        write_xref_records(xref, old_xref);
    write_list(UNIT_DIAG, {"Disk write completed"});
    close_scratch(mols, MOLS_SCRATCH);
    if (xref)
        close_scratch(xref, XREF_SCRATCH);

    // Release: only one copy of the molecules exists at any time.
    M.MOL_POS.deallocate();
    M.PV.deallocate();
    M.IP.deallocate();
    M.MOL_TIME.deallocate();
    M.XREF.deallocate();
    if (modes > 0)
        M.MOL_VIB_LEVEL.deallocate();
    write_list(UNIT_DIAG, {"Molecule arrays have been deallocated"});

    // Allocate anew, zero-filled. Without the arrays the run cannot go on.
    const bool ok = M.MOL_POS.allocate(3, new_mnm) && M.PV.allocate(M.PV_ROWS, new_mnm) &&
                    M.IP.allocate(M.IP_ROWS, new_mnm) && M.MOL_TIME.allocate(new_mnm) &&
                    M.XREF.allocate(M.NEW_XREF_SIZE) &&
                    (modes <= 0 || M.MOL_VIB_LEVEL.allocate(modes, new_mnm));
    if (!ok) {
        write_list(UNIT_DIAG, {"PROGRAM COULD NOT ALLOCATE SPACE FOR EXTEND_MNM"});
        fatal_stop("EXTEND_MNM: cannot allocate the molecule arrays for MNM = " + std::to_string(new_mnm) +
                   " (the molecules are kept in \"" + MOLS_SCRATCH + "\")");
    }

    // Read back into slots 1 .. old MNM, then delete the scratch files.
    mols = open_scratch(MOLS_SCRATCH, "rb");
    xref = continuous ? open_scratch(XREF_SCRATCH, "rb") : nullptr;
    write_list(UNIT_DIAG, {"Start read back from temporary disk storage"});
    read_molecule_records(mols, old_mnm, modes);
    if (xref)
        read_xref_records(xref, old_xref);
    close_scratch(mols, MOLS_SCRATCH);
    std::remove(MOLS_SCRATCH);
    if (xref) {
        close_scratch(xref, XREF_SCRATCH);
        std::remove(XREF_SCRATCH);
    }

    // The new extents take effect.
    RUN.MNM = new_mnm;
    RUN.XREF_SIZE = M.NEW_XREF_SIZE;
}
