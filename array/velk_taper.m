%VELK_TAPER  Apodization weights of a linear array.
%   W = VELK_TAPER(WINDOW, N, P)
%
%   The weights of the N elements of a linear array for a named window.
%   Element i (from 0) sits at x = 2*(0.5 - i/N) on the aperture normalised
%   to [-1, 1], so x runs from 1 down in steps of 2/N to -1 + 2/N.
%
%   Arguments
%     WINDOW   the window, spelt exactly (case included):
%                'off'       all weights 0
%                'triangle'  1 - |x|
%                'gauss'     exp(-P*x^2)
%                'raised'    P + cos(pi*|x|) (not halved: 2 at x = 0 for P = 1)
%                'simply'    1 - x^2
%                'clamped'   (1 - x^2)*(1 - |x|)
%              'ud' (user defined) has no meaning here and is refused.
%     N        number of elements, truncated toward zero; 0 or more.
%     P        window parameter, used by 'gauss' and 'raised'.
%
%   Result
%     W        N x 1 column of weights, row i+1 for element i.
%
%   Example
%     w = velk_taper('gauss', 64, 2);
%     plot(2*(0.5 - (0:63)/64), w)

%!test
%! w = velk_taper ("gauss", 64, 2);
%! x = 2*(0.5 - (0:63)'/64);
%! assert (w, exp (-2*x.^2), eps);

%!error <Unknown apodization level!> velk_taper ("hann", 8, 1)

%!demo
%! w = velk_taper ("gauss", 64, 2);
%! plot (2*(0.5 - (0:63)/64), w)
