/* The attenuation module's functions and globals used from C by their plain
   names, as a C caller would: the link fails if any has C++ linkage. Exits
   with the number of failed checks. */
#include "att.h"
#include "fft.h"

#include <math.h>
#include <stdio.h>

static int failures = 0;

static void check(int ok, const char* what)
{
    if (!ok) {
        printf("failed: %s\n", what);
        ++failures;
    }
}

int main(void)
{
    enum { nt = 16 };
    double h[nt] = {0};
    check(att_init(nt, 1), "att_init");
    check(n_cpus == 1 && XC != NULL && BUF != NULL && p_backward != NULL, "views of the workspace");
    /* No attenuation: a unit sample at row 3. */
    att(0.0, 10.0, 3, 0.1, 1500.0, h, nt, 1.0);
    for (int j = 0; j < nt; ++j)
        check(fabs(h[j] - (j == 3)) < 1e-12, "att: unit sample at row 3");
    att_annu(0.0, 10.0, 3, 0.1, 1500.0, h, nt, -1.0, 0);
    for (int j = 0; j < nt; ++j)
        check(fabs(h[j]) < 1e-12, "att_annu: the same sample taken away");
    att_close();
    check(XC == NULL && BUF == NULL && p_backward == NULL, "att_close releases the views");

    double* in = fftw_malloc(4 * sizeof(double));
    double* out = fftw_malloc(4 * sizeof(double));
    fftw_complex* spectrum = fftw_malloc(4 * sizeof(fftw_complex));
    fftw_complex* values = fftw_malloc(4 * sizeof(fftw_complex));
    check(fft_init(4, NULL, NULL), "fft_init");
    in[0] = 1, in[1] = 2, in[2] = 3, in[3] = 4;
    check(velk_fft(in, out, 4) && fabs(out[0] - 10) < 1e-12 && fabs(out[2] + 2) < 1e-12, "velk_fft");
    in[0] = 1, in[1] = 0, in[2] = 5, in[3] = 7;
    check(velk_ifft(in, out, 4) && fabs(out[1] - 1) < 1e-12, "velk_ifft");
    for (int k = 0; k < 4; ++k)
        spectrum[k][0] = 1, spectrum[k][1] = 0;
    check(cc_ifft(spectrum, values, 4) && fabs(values[0][0] - 1) < 1e-12, "cc_ifft");
    cr_ifft(spectrum, out, 4);
    check(fabs(out[0] - 1) < 1e-12, "cr_ifft");
    check(p_forward != NULL && p_backward_cc != NULL, "plans made on first use are shown");
    fft_close();
    check(p_forward == NULL && p_backward == NULL && p_backward_cc == NULL, "fft_close");
    fftw_free(in);
    fftw_free(out);
    fftw_free(spectrum);
    fftw_free(values);
    return failures;
}
