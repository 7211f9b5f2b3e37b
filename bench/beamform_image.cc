// Writes the image of one benchmark workload, `plane` or `fmc`, formed on
// two threads, as the raw doubles of its 256 x 256 points (depth fastest):
//     beamform_image plane|fmc <file>
#include "beamform_workloads.h"

#include <cstdio>
#include <cstring>

namespace {

struct Quiet_host final : velk::Host {
    double* create_result(int, int, int) override { return nullptr; }
    void print(const char*) noexcept override {}
    bool interrupt_pending() noexcept override { return false; }
    bool installs_signal_handlers() const override { return false; }
};

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 3 || (std::strcmp(argv[1], "plane") != 0 && std::strcmp(argv[1], "fmc") != 0)) {
        std::fprintf(stderr, "usage: beamform_image plane|fmc <file>\n");
        return 2;
    }
    beamform_bench::Workload w = std::strcmp(argv[1], "plane") == 0
                                     ? beamform_bench::plane_wave_workload()
                                     : beamform_bench::full_matrix_workload();
    Quiet_host host;
    try {
        velk::beamform_run(host, w.job, 2);
    } catch (const velk::Call_failed& failure) {
        std::fprintf(stderr, "beamform_image: %s\n", failure.what());
        return 1;
    }
    std::FILE* f = std::fopen(argv[2], "wb");
    if (!f || std::fwrite(w.out.data(), sizeof(double), w.out.size(), f) != w.out.size() ||
        std::fclose(f) != 0) {
        std::perror(argv[2]);
        return 1;
    }
    return 0;
}
