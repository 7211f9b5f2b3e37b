%ANALYTIC  The analytic signal of every column, over FFTW.
%   Y = ANALYTIC(X)
%
%   Y = X + i H{X}, H the Hilbert transform, column by column: the spectrum
%   of each column kept at frequency 0 (and at the Nyquist frequency for an
%   even number of samples), doubled at the positive frequencies and set to
%   0 at the negative ones. abs (Y) is the envelope of the signal; BEAMFORM
%   images Y as it does real data, and abs of its image is the image's
%   envelope. The transforms are planned the same way in every session, so
%   every call gives the same bits.
%
%   Arguments
%     X   NT x N real signals, one per column (in any unit).
%
%   Result
%     Y   NT x N complex signals, in the unit of X; real (Y) is X.
%
%   Example
%     t = (0:511)' * 0.025;
%     x = exp (-((t - 6) / 0.4).^2) .* cos (2*pi*5*t);
%     plot (t, [x abs(analytic(x))])
%
%   See also IQ, BEAMFORM, BMODE.

## The envelope of a Gaussian-modulated pulse is its Gaussian, and the real
## part is the signal itself.
%!test
%! t = (0:511)' * 0.025;
%! x = exp (-((t - 6) / 0.4).^2) .* cos (2*pi*5*t);
%! y = analytic (x);
%! assert (real (y), x, 1e-12);
%! assert (abs (y), exp (-((t - 6) / 0.4).^2), 1e-6);
