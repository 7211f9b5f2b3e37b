// The wrapper in a process where FFTW's threaded planner is loaded and set to
// several threads, as the host sets it.
#include "fft.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace {

TEST(FftPlannerThreads, PlansOnOneThreadAndPutsTheHostSettingBack)
{
    ASSERT_NE(fftw_init_threads(), 0);
    fftw_plan_with_nthreads(4);
    const int n = 1 << 14;
    auto* in = static_cast<fftw_complex*>(fftw_malloc(sizeof(fftw_complex) * (n + 1)));
    auto* out = static_cast<double*>(fftw_malloc(sizeof(double) * (n + 1)));
    ASSERT_TRUE(fft_init(n, in, out));
    char* plan = fftw_sprint_plan(p_backward);
    EXPECT_EQ(std::string(plan).find("thr"), std::string::npos) << plan;
    std::free(plan);
    EXPECT_EQ(fftw_planner_nthreads(), 4);
    fft_close();
    fftw_free(in);
    fftw_free(out);
    fftw_cleanup_threads();
}

}  // namespace
