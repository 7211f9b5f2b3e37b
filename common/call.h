// One call of a module, as its gateway sees it whatever the host: the
// arguments as views, the number of results asked for, and the few things
// the host does for the call (results, console, interrupt, running the work).
//
// A gateway is a function `void <name>_gateway(velk::Call&)` (modules.h
// declares every one): its checks, its result creation and its kernel loop,
// written once. Each host has one adaptor that turns its arrays into Args,
// implements Host, calls the gateway and turns a Call_failed into the host's
// own error (mex/mex_call.h for Octave and MATLAB, python/numpy_call.h for
// Python).
#pragma once

#include "function_ref.h"
#include "shape.h"

#include <chrono>
#include <cstddef>
#include <exception>
#include <initializer_list>
#include <span>
#include <string_view>

namespace velk {

// Why a call ended early.
enum class Failure {
    refused,        // an argument (or the count of arguments or results) is refused
    wrong_class,    // an argument is of a class the module does not take
    resources,      // memory or threads could not be had
    interrupted,    // the user pressed Ctrl-C
    out_of_bounds,  // a delay outside the output window under the level "stop"
};

// The one way a call ends early: thrown by the functions below, caught by
// the host's adaptor, which ends the call in the host's own form once every
// destructor has run and every worker is joined. The message is held in the
// object itself, so that throwing allocates nothing.
class Call_failed : public std::exception {
public:
    Call_failed(Failure kind, int position, const char* message) noexcept;
    const char* what() const noexcept override { return message_; }
    Failure kind() const noexcept { return kind_; }
    // The refused argument, counted from 1; 0 when the failure is not one
    // argument's.
    int position() const noexcept { return position_; }

    static constexpr std::size_t capacity = 256;

private:
    char message_[capacity];
    Failure kind_;
    int position_;
};

// Refuses argument `position` (0: the call as a whole, such as its number
// of arguments) with the printf-formatted message, cut to Call_failed::capacity.
[[noreturn]] void refuse(int position, const char* format, ...)
    __attribute__((format(printf, 2, 3)));

// Refuses argument `position` for its class (a Python caller gets a TypeError).
[[noreturn]] void refuse_class(int position, const char* format, ...)
    __attribute__((format(printf, 2, 3)));

// Ends the call for want of memory or threads.
[[noreturn]] void fail_resources(const char* format, ...) __attribute__((format(printf, 1, 2)));

// Ends the call as interrupted, with "CTRL-C pressed!\n".
[[noreturn]] void fail_interrupted();

// Ends the call under the level "stop" with the out-of-bounds report `line`
// (ending in "\n"), which the host shows as such.
[[noreturn]] void fail_out_of_bounds(const char* line);

// One argument as the host holds it. Sizes are the host's: a host with row-
// major arrays describes an n x m array as m rows and n columns, which is the
// same memory as an m x n column-major matrix.
struct Arg {
    enum class Kind {
        real_double,
        real_single,     // data_single: the elements as floats
        complex_double,  // data: the elements as interleaved (re, im) doubles
        complex_single,  // data_single: the same as floats
        text,
        cell,
        structure,
        other
    };

    Kind kind = Kind::other;
    std::size_t rows = 0;
    std::size_t cols = 0;
    // real_double: the rows x cols elements, column by column.
    const double* data = nullptr;
    // real_double: the same elements when the call may write them in place
    // (the destination of an in-place module), else null.
    double* writable_data = nullptr;
    const float* data_single = nullptr;
    // text: the characters, column by column, without a terminating NUL.
    std::string_view text;
    // cell: its rows x cols elements, column by column. structure (always
    // 1 x 1): the value of each field, in the order of field_names.
    std::span<const Arg> elements;
    std::span<const std::string_view> field_names;

    Dims dims() const { return {rows, cols}; }
    // structure: the value of the field `name`, or null when it has none.
    const Arg* field(std::string_view name) const;
};

// Where a call prints: the host's console, used by the calling thread only.
class Console {
public:
    // Writes text to the console as it is. Must not throw.
    virtual void print(const char* text) noexcept = 0;

    // A delay outside the output window, reported under the level "warn":
    // `line` ends with "\n". A console prints it; a host may keep it as a
    // warning instead.
    virtual void report_out_of_bounds(const char* line) noexcept { print(line); }

protected:
    ~Console() = default;
};

// What a host does for a call. Every function is called on the thread that
// called the gateway (the calling thread), never on a worker. Those that
// run_work's work may call (print, report_out_of_bounds, interrupt_pending,
// acknowledge_interrupt) must take back anything that run_work gave up.
class Host : public Console {
public:
    // A zero-filled rows x cols matrix of doubles, column by column, as
    // result `slot` (from 0), owned by the host; returns its elements.
    virtual double* create_result(int slot, int rows, int cols) = 0;

    // A rows x cols matrix of complex numbers as result `slot`: storage of
    // rows x cols interleaved (re, im) doubles, zero-filled, that the host
    // turns into its own complex array when the gateway has returned (a host
    // that keeps complex numbers so hands out its own storage). A host
    // without complex arrays ends the call (Failure::resources).
    virtual double* create_complex_result(int slot, int rows, int cols);

    // As create_result, for a result whose every element the gateway writes:
    // a host that can hand out storage without filling it first does so,
    // which saves a pass over a large result; the others fill it.
    virtual double* create_unfilled_result(int slot, int rows, int cols)
    {
        return create_result(slot, rows, cols);
    }

    // Result `slot`, made rows x cols, seen as an array of the sizes `dims`
    // (their product rows x cols, column by column) by a host whose arrays
    // have more than two dimensions; the others keep it as it was made.
    virtual void shape_result(int slot, std::initializer_list<std::size_t> dims)
    {
        (void)slot;
        (void)dims;
    }

    // True when the user has interrupted the call through the host. Polled
    // before a guarded computation, after every item the calling thread
    // works on, every poll_interval() while workers run, and once at the
    // end; a host whose poll is costly keeps its own pace. Must not throw.
    virtual bool interrupt_pending() noexcept = 0;

    // How long the calling thread waits for its workers between two polls.
    virtual std::chrono::milliseconds poll_interval() const
    {
        return std::chrono::milliseconds(20);
    }

    // The call is about to end as interrupted: the host withdraws its own
    // pending interrupt, so that it is not raised a second time.
    virtual void acknowledge_interrupt() noexcept {}

    // Whether a guarded computation installs the process's signal handlers
    // (sighandler) while it runs: for hosts that deliver Ctrl-C as a signal.
    virtual bool installs_signal_handlers() const = 0;

    // Runs a call's work: its kernel loop or guarded computation. A host may
    // give up a lock of its own meanwhile.
    virtual void run_work(Function_ref<void()> work) { work(); }

    // How far a long call that was asked to show its progress has got:
    // `fraction` of its work done (1 at the end), about `seconds_left` to
    // go. Called by the calling thread through Progress (progress.h), at
    // most once a second and once at the end. Must not throw.
    virtual void report_progress(const char* module, double fraction,
                                 double seconds_left) noexcept
    {
        (void)module;
        (void)fraction;
        (void)seconds_left;
    }

protected:
    ~Host() = default;
};

class Call {
public:
    Call(std::span<const Arg> args, int n_results, Host& host)
        : args_(args), n_results_(n_results), host_(host)
    {
    }

    int n_args() const { return static_cast<int>(args_.size()); }
    // Argument `position`, counted from 1 as in the messages.
    const Arg& arg(int position) const { return args_[static_cast<std::size_t>(position - 1)]; }
    // How many results the caller asked for (0 still gets result 1).
    int n_results() const { return n_results_; }
    Host& host() const { return host_; }

    double* create_result(int slot, int rows, int cols) const
    {
        return host_.create_result(slot, rows, cols);
    }
    double* create_unfilled_result(int slot, int rows, int cols) const
    {
        return host_.create_unfilled_result(slot, rows, cols);
    }
    double* create_complex_result(int slot, int rows, int cols) const
    {
        return host_.create_complex_result(slot, rows, cols);
    }
    void shape_result(int slot, std::initializer_list<std::size_t> dims) const
    {
        host_.shape_result(slot, dims);
    }
    void run(Function_ref<void()> work) const { host_.run_work(work); }

private:
    std::span<const Arg> args_;
    int n_results_;
    Host& host_;
};

// A module's checks, result creation and work: `<name>_gateway`.
using Gateway = void (*)(Call&);

}  // namespace velk
