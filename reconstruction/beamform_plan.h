// What one beamforming call works out once and every group of points then
// reads, and where a thread's scratch arrays lie. Internal to beamform.cc.
#pragma once

#include "beamform.h"

#include <cstddef>
#include <vector>

namespace velk {

struct Beamform_plan {
    const Beamform_job* job;
    // The elements that some event receives on, in increasing order; the
    // receive terms of a group are formed for these alone.
    std::vector<std::size_t> used;
    // For channel c of event e, the row of its element among `used`.
    std::vector<std::size_t> channel_row;
    // The points in the order the groups take them: near one another in
    // space, so that a group reads a part of each channel only (see
    // point_order in beamform_run.cc).
    std::vector<std::size_t> order;
    // Points per group, a multiple of every vector width.
    std::size_t group;
    bool complex;
    bool iq;
    bool rx_weighted;  // f-number > 0
    // The face extent of the transmit apodization, and which axes it tests.
    double x_min, x_max, y_min, y_max;
    bool test_x, test_y;

    // A thread's scratch: `group` doubles per per-point array, then
    // group x used.size() per per-point-and-element array.
    enum Point_array { px, py, pz, arrival, A, tx_weight, qx, qy, tx_re, tx_im, S_re, S_im, O_re, O_im,
                       n_point_arrays };
    std::size_t n_element_arrays() const { return 1 + (rx_weighted ? 1 : 0) + (iq ? 2 : 0); }
    std::size_t scratch_doubles() const
    {
        return group * (n_point_arrays + used.size() * n_element_arrays());
    }
    double* point_array(double* scratch, Point_array a) const { return scratch + a * group; }
    // R_j, then w_j when weighted, then the receive phasor's re and im for I/Q.
    double* element_array(double* scratch, std::size_t which, std::size_t row) const
    {
        return scratch + group * (n_point_arrays + which * used.size() + row);
    }
};

// Forms the image values of points order[first .. first + n - 1] (n <= plan.group)
// into plan.job->out, with `scratch` (plan.scratch_doubles() doubles,
// aligned for every vector width) and `active` (plan.group bytes: one flag
// per vector of points, whether a point of it counts for the event).
void beamform_group(const Beamform_plan& plan, double* scratch, unsigned char* active,
                    std::size_t first, std::size_t n);

}  // namespace velk
