#include "mex_call.h"

#include "host_interrupt.h"
#include "velk_error.h"

#include <cstdio>
#include <deque>
#include <string>
#include <vector>

namespace velk {

double* Mex_host::create_result(int slot, int rows, int cols)
{
    plhs_[slot] =
        mxCreateDoubleMatrix(static_cast<mwSize>(rows), static_cast<mwSize>(cols), mxREAL);
    return mxGetPr(plhs_[slot]);
}

double* Mex_host::create_unfilled_result(int slot, int rows, int cols)
{
    plhs_[slot] = mxCreateUninitNumericMatrix(static_cast<std::size_t>(rows),
                                              static_cast<std::size_t>(cols), mxDOUBLE_CLASS,
                                              mxREAL);
    return mxGetPr(plhs_[slot]);
}

double* Mex_host::create_complex_result(int slot, int rows, int cols)
{
    Complex_result& r = complex_results_.emplace_back(
        Complex_result{slot, rows, cols, std::vector<double>(2 * std::size_t(rows) * cols)});
    return r.values.data();
}

void Mex_host::shape_result(int slot, std::initializer_list<std::size_t> dims)
{
    const std::vector<mwSize> sizes(dims.begin(), dims.end());
    mxSetDimensions(plhs_[slot], sizes.data(), sizes.size());
}

void Mex_host::finish()
{
    for (const Complex_result& r : complex_results_) {
        plhs_[r.slot] = mxCreateDoubleMatrix(static_cast<mwSize>(r.rows),
                                             static_cast<mwSize>(r.cols), mxCOMPLEX);
        double* re = mxGetPr(plhs_[r.slot]);
        double* im = mxGetPi(plhs_[r.slot]);
        for (std::size_t i = 0; 2 * i < r.values.size(); ++i) {
            re[i] = r.values[2 * i];
            im[i] = r.values[2 * i + 1];
        }
    }
}

void Mex_host::print(const char* text) noexcept { mexPrintf("%s", text); }

bool Mex_host::interrupt_pending() noexcept { return host_interrupt_pending(); }

void Mex_host::acknowledge_interrupt() noexcept { host_interrupt_acknowledge(); }

void Mex_host::report_progress(const char* module, double fraction, double seconds_left) noexcept
{
    if (fraction >= 1.0)
        mexPrintf("\r%s: 100%% done%20s\n", module, "");
    else
        mexPrintf("\r%s: %3.0f%% done, about %.0f s left   ", module, 100.0 * fraction,
                  seconds_left);
    // Octave keeps console text until its next prompt otherwise; the trap
    // keeps an error of the command (a pending Ctrl-C) from leaving the call.
    if (mxArray* error = mexEvalStringWithTrap("fflush (stdout);"))
        mxDestroyArray(error);
}

namespace {

// The views of one call's arguments and the storage they point into: the
// characters of texts and field names, and the elements of cells and
// structures (deques, so that what a view points to never moves).
class Views {
public:
    Arg view(const mxArray* a)
    {
        Arg arg;
        arg.rows = mxGetM(a);
        // Octave 7 loses memory on every call that asks a cell or structure
        // argument for mxGetN and then for an element (the element's view
        // converts the argument), so the columns come from the element count
        // where there are elements.
        const std::size_t count = mxGetNumberOfElements(a);
        arg.cols = arg.rows > 0 ? count / arg.rows : mxGetN(a);
        if (mxIsDouble(a) && !mxIsComplex(a) && !mxIsSparse(a)) {
            arg.kind = Arg::Kind::real_double;
            arg.writable_data = mxGetPr(a);  // the caller's storage, as the in-place modules need
            arg.data = arg.writable_data;
        } else if (mxIsSingle(a) && !mxIsComplex(a)) {
            arg.kind = Arg::Kind::real_single;
            arg.data_single = static_cast<const float*>(mxGetData(a));
        } else if ((mxIsDouble(a) || mxIsSingle(a)) && mxIsComplex(a) && !mxIsSparse(a)) {
            // The host keeps the real and imaginary parts apart; the modules
            // read them interleaved, from a copy.
            if (mxIsDouble(a)) {
                arg.kind = Arg::Kind::complex_double;
                arg.data = interleaved<double>(mxGetPr(a), mxGetPi(a), count, doubles_);
            } else {
                arg.kind = Arg::Kind::complex_single;
                arg.data_single = interleaved<float>(static_cast<const float*>(mxGetData(a)),
                                                     static_cast<const float*>(mxGetImagData(a)),
                                                     count, floats_);
            }
        } else if (mxIsChar(a)) {
            const std::size_t length = arg.rows * arg.cols;
            std::string& text = texts_.emplace_back(length + 1, '\0');
            mxGetString(a, text.data(), static_cast<mwSize>(length + 1));
            text.resize(length);
            arg.kind = Arg::Kind::text;
            arg.text = text;
        } else if (mxIsCell(a)) {
            std::vector<Arg>& elements = elements_.emplace_back(arg.rows * arg.cols);
            for (std::size_t i = 0; i < elements.size(); ++i) {
                const mxArray* element = mxGetCell(a, static_cast<mwIndex>(i));
                elements[i] = element ? view(element) : Arg{};
            }
            arg.kind = Arg::Kind::cell;
            arg.elements = elements;
        } else if (mxIsStruct(a) && arg.rows == 1 && arg.cols == 1) {
            const int n_fields = mxGetNumberOfFields(a);
            std::vector<Arg>& values = elements_.emplace_back(static_cast<std::size_t>(n_fields));
            std::vector<std::string_view>& names = names_.emplace_back();
            for (int f = 0; f < n_fields; ++f) {
                names.emplace_back(texts_.emplace_back(mxGetFieldNameByNumber(a, f)));
                const mxArray* value = mxGetFieldByNumber(a, 0, f);
                values[static_cast<std::size_t>(f)] = value ? view(value) : Arg{};
            }
            arg.kind = Arg::Kind::structure;
            arg.elements = values;
            arg.field_names = names;
        }
        return arg;
    }

private:
    // (re, im) pairs of n values, in storage kept for the call.
    template <class T>
    const T* interleaved(const T* re, const T* im, std::size_t n, std::deque<std::vector<T>>& kept)
    {
        std::vector<T>& pairs = kept.emplace_back(2 * n);
        for (std::size_t i = 0; i < n; ++i) {
            pairs[2 * i] = re[i];
            pairs[2 * i + 1] = im ? im[i] : T(0);
        }
        return pairs.data();
    }

    std::deque<std::vector<double>> doubles_;
    std::deque<std::vector<float>> floats_;
    std::deque<std::string> texts_;
    std::deque<std::vector<Arg>> elements_;
    std::deque<std::vector<std::string_view>> names_;
};

}  // namespace

void mex_call(Gateway gateway, int nlhs, mxArray* plhs[], int nrhs, const mxArray* prhs[])
{
    // The host may abandon the call without running destructors, so the
    // message is copied here and the call ended outside the scope that owns
    // anything.
    char message[Call_failed::capacity];
    try {
        Views views;
        std::vector<Arg> args(static_cast<std::size_t>(nrhs));
        for (std::size_t i = 0; i < args.size(); ++i)
            args[i] = views.view(prhs[i]);
        Mex_host host(plhs);
        Call call(args, nlhs, host);
        gateway(call);
        host.finish();
        return;
    } catch (const Call_failed& failure) {
        if (failure.kind() == Failure::out_of_bounds) {
            mexPrintf("%s", failure.what());
            message[0] = '\0';
        } else {
            std::snprintf(message, sizeof message, "%s", failure.what());
        }
    }
    velk_err_msg(message);
}

}  // namespace velk
