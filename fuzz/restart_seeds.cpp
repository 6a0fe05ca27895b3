// Writes the restart sets of the seed corpus: two cases of the restart case tests, made small (a few
// dozen molecules), set up by the real subsystems and their sets written, then packed
// (fuzz/restart_pack.h) with the set list and without it (a set written before lists were kept, whose
// files the reader takes without their checksums). Usage: restart_seeds FOLDER
#include "app/casedata/casedata.h"
#include "app/geometry/geometry.h"
#include "app/kernel/initialize_flow.h"
#include "app/restart/restart.h"
#include "fuzz/fuzz_support.h"
#include "fuzz/restart_pack.h"
#include "tests/casedata/case_files.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace {

std::string file_bytes(const char* name)
{
    std::ifstream in(name, std::ios::binary);
    if (!in)
        return {};
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void put_length(std::string& pack, uint32_t length)
{
    for (int k = 0; k < 4; ++k)
        pack += static_cast<char>(length >> (8 * k) & 255);
}

// The set in the working folder, packed; without the list when `with_list` is false.
std::string packed_set(bool with_list)
{
    std::string pack;
    for (const char* name : packed_file_names()) {
        const bool absent =
            !std::filesystem::exists(name) || (!with_list && name == std::string(SET_LIST_FILE));
        if (absent) {
            put_length(pack, PACK_ABSENT);
            continue;
        }
        const std::string bytes = file_bytes(name);
        put_length(pack, static_cast<uint32_t>(bytes.size()));
        pack += bytes;
    }
    return pack;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: restart_seeds FOLDER\n");
        return 2;
    }
    const std::filesystem::path out = std::filesystem::absolute(argv[1]);
    std::filesystem::create_directories(out);
    set_restart_disk_flush(false);
    // One species without surfaces and separate indexing; a reacting gas around a body with
    // continuous indexing.
    std::string one_species = fuzz_source_file("tests/casedata/fixtures/one_species/QR4TD.DAT");
    one_species.replace(one_species.find("1.E15     FNUM"), 5, "1.E19");
    one_species.replace(one_species.find("100001    maximum"), 6, "500   ");
    const struct {
        const char* name;
        std::string flow, surface;
    } cases[] = {
        {"one_species", one_species, fuzz_source_file("tests/casedata/fixtures/one_species/QR4SD.DAT")},
        {"reacting_gas", flow_file({{"FNUM", "1.E21"}, {"MNM", "1000"}, {"INDEX", "1"}}), surface_file()},
    };
    for (const auto& c : cases) {
        const char* fixture = c.name;
        fuzz_start_reader();
        for (const char* name : packed_file_names())
            std::remove(name);
        fuzz_write_file("QR4TD.DAT", c.flow);
        fuzz_write_file("QR4SD.DAT", c.surface);
        try {
            READ_FLOW_DATA();
            READ_SURFACE_DATA();
            SET_DIVISIONS_AND_ELEMENTS();
            SET_UP_CELLS();
            INITIALIZE_FLOW();
            WRITE_RESTART();
        } catch (const FuzzRefused&) {
            std::fprintf(stderr, "restart_seeds: the case %s stopped\n", fixture);
            return 1;
        }
        fuzz_end_reader();
        for (bool with_list : {true, false}) {
            std::ofstream pack(out / (std::string(fixture) + (with_list ? "-set" : "-files")),
                               std::ios::binary);
            pack << packed_set(with_list);
        }
    }
    return 0;
}
