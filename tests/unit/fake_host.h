// Hosts for the unit tests.
//
// The MEX functions mexPrintf (appends to a transcript) and mexErrMsgTxt
// (throws Call_ended), so that the exported reporters run outside Octave.
//
// fake_host::Host, a velk::Host with a console of its own (out-of-bounds
// reports marked "warn: " or "stop: "), results as vectors and a pending
// interrupt that any thread may raise, as Octave's signal thread does; and
// Args, the arguments of a call kept with their storage, to drive the
// gateways with run().
#pragma once

#include "call.h"

#include <atomic>
#include <deque>
#include <stdexcept>
#include <string>
#include <vector>

namespace fake_host {

struct Call_ended : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// Everything mexPrintf printed since the last call to take_console().
std::string take_console();

struct Result {
    int rows;
    int cols;
    std::vector<double> values;
};

class Host final : public velk::Host {
public:
    explicit Host(bool installs_signal_handlers = false) : installs_(installs_signal_handlers) {}

    double* create_result(int slot, int rows, int cols) override;
    // Interleaved in `values` (2 rows cols of them), zero-filled.
    double* create_complex_result(int slot, int rows, int cols) override;
    // Filled with NaN, which shows any element the gateway leaves unwritten.
    double* create_unfilled_result(int slot, int rows, int cols) override;
    void print(const char* text) noexcept override { console += text; }
    void report_out_of_bounds(const char* line) noexcept override
    {
        console += "warn: ";
        console += line;
    }
    void report_progress(const char*, double fraction, double) noexcept override
    {
        progress.push_back(fraction);
    }
    bool interrupt_pending() noexcept override { return pending.load() > 0; }
    // Short, so that tests of a few milliseconds see an interrupt mid-call.
    std::chrono::milliseconds poll_interval() const override
    {
        return std::chrono::milliseconds(1);
    }
    void acknowledge_interrupt() noexcept override { pending.store(0); }
    bool installs_signal_handlers() const override { return installs_; }
    void run_work(velk::Function_ref<void()> work) override
    {
        ++works_run;
        work();
    }

    std::string console;
    std::vector<double> progress;  // the shares reported, in order
    std::vector<Result> results;  // by slot
    std::atomic<int> pending{0};  // above 0: Ctrl-C pending
    int works_run = 0;
    // How the last call that run() made failed, when it did.
    velk::Failure failure = velk::Failure::refused;
    int failed_position = -1;  // -1: the call returned

private:
    bool installs_;
};

// The arguments of one call, kept with their storage; views() sees them
// as a host's adaptor would.
class Args {
public:
    // A real double array of rows x cols elements, column by column.
    Args& matrix(std::size_t rows, std::size_t cols, std::vector<double> values);
    // A 1 x n row.
    Args& row(std::vector<double> values) { return matrix(1, values.size(), values); }
    Args& text(std::string text);
    // A 1 x n cell of the arguments of `elements`.
    Args& cell(const Args& elements);
    // A 1 x 1 structure whose fields `names` hold the arguments of `values`.
    Args& structure(std::vector<std::string> names, const Args& values);
    // An array of another class (integers, cells, ...).
    Args& other();
    // A real double array with these sizes and no elements to read: for
    // sizes beyond the int range, which a host gives an empty array.
    Args& empty(std::size_t rows, std::size_t cols);
    // Replaces argument `position` (from 1) with the last one added.
    Args& replace(int position);

    // Views into this object's storage, valid while it lives unchanged.
    std::vector<velk::Arg> views() const;

private:
    struct Entry {
        velk::Arg arg;   // data and text filled in by views()
        int storage;     // index into values_, texts_ or cells_, or -1
    };
    std::vector<Entry> entries_;
    std::deque<std::vector<double>> values_;
    std::deque<std::string> texts_;
    std::deque<Args> cells_;
    std::deque<std::vector<std::string>> field_names_;
    // The views of the cells' elements and the structures' names, made by views().
    mutable std::deque<std::vector<velk::Arg>> element_views_;
    mutable std::deque<std::vector<std::string_view>> name_views_;
};

using Gateway = void (*)(velk::Call&);

// How a guarded computation ended: ran through, or failed with a kind and
// a message.
struct Outcome {
    bool failed = false;
    velk::Failure kind = velk::Failure::refused;
    std::string message;

    bool interrupted() const { return failed && kind == velk::Failure::interrupted; }
    // The message of a failure for want of memory or threads, else "".
    std::string fault() const { return failed && kind == velk::Failure::resources ? message : ""; }
};

// Runs `work`, which may end the call.
template <class Work>
Outcome outcome(Work&& work)
{
    try {
        work();
        return {};
    } catch (const velk::Call_failed& failure) {
        return {true, failure.kind(), failure.what()};
    }
}

// Calls the gateway; returns "" when it returned, else the message it
// failed with, as a MEX host shows it: the out-of-bounds report under
// "stop" goes to the console (marked "stop: ") and the message is empty.
// The failure's kind and position are kept in the host.
std::string run(Gateway gateway, const Args& args, Host& host, int n_results = 1);

}  // namespace fake_host
