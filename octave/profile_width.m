%PROFILE_WIDTH  The width of a profile's peak at a level below it (-6 dB unless given).
%   W = PROFILE_WIDTH (PROFILE, AXIS)
%   W = PROFILE_WIDTH (PROFILE, AXIS, LEVEL_DB)
%   W = PROFILE_WIDTH (PROFILE, AXIS, LEVEL_DB, PEAK)
%
%   From the largest sample of PROFILE (an amplitude, e.g. an envelope's
%   line, not in dB), or from sample PEAK (an index, to measure a peak that
%   is not the largest), the first sample on each side below
%   peak * 10^(LEVEL_DB / 20); each crossing is placed by linear
%   interpolation between that sample and the one before it. AXIS holds the
%   samples' positions, increasing (mm). At LEVEL_DB = 20*log10(0.5) it is
%   the full width at half maximum: 2.3548 sigma for a Gaussian. The same
%   as Python's velk.quality.fwhm.
%
%   Example
%     x = linspace (-3, 3, 601);
%     w = profile_width (exp (-x.^2 / 2), x, 20 * log10 (0.5))   # 2.3548
%
%   See also IMAGE_QUALITY.
function w = profile_width (profile, axis, level_db = -6, peak = [])
  if (nargin < 2)
    print_usage ();
  endif
  p = double (profile(:));
  a = double (axis(:));
  if (numel (p) != numel (a))
    error ("profile_width: AXIS must have the profile's %d samples, not %d", numel (p), numel (a));
  endif
  if (numel (a) < 3 || ! all (diff (a) > 0))
    error ("profile_width: AXIS must be increasing, with 3 samples or more");
  endif
  if (! isscalar (level_db) || ! (level_db < 0))
    error ("profile_width: LEVEL_DB must be negative, not %g", level_db);
  endif
  if (isempty (peak))
    [~, peak] = max (p);
  elseif (! isscalar (peak) || peak != fix (peak) || peak < 1 || peak > numel (p))
    error ("profile_width: PEAK must be an index from 1 to %d", numel (p));
  endif
  peak_value = p(peak);
  if (! (peak_value > 0))
    error ("profile_width: PROFILE must have a peak above 0, not %g", peak_value);
  endif
  level = peak_value * 10 ^ (level_db / 20);
  i = find (p(1:peak-1) < level, 1, "last");
  j = peak + find (p(peak+1:end) < level, 1, "first");
  if (isempty (i) || isempty (j))
    error ("profile_width: PROFILE must fall below %g dB of its peak on both sides", level_db);
  endif
  left = a(i) + (level - p(i)) / (p(i+1) - p(i)) * (a(i+1) - a(i));
  right = a(j-1) + (p(j-1) - level) / (p(j-1) - p(j)) * (a(j) - a(j-1));
  w = right - left;
endfunction

%!test  # Gaussians of several sigmas at half amplitude and at -20 dB
%! x = linspace (-10, 10, 4001);
%! for s = [0.3 1 2.5]
%!   g = exp (-x.^2 / (2 * s^2));
%!   assert (profile_width (g, x, 20 * log10 (0.5)), 2.3548 * s, 1e-4 * s + 1e-5);
%!   assert (profile_width (g, x, -20), 2 * s * sqrt (2 * log (10)), 1e-4);
%! endfor

%!test  # interpolation between samples; an uneven axis; a neighbouring peak beyond the crossing
%! assert (profile_width ([0 1 2 1 0], 0:4, 20 * log10 (0.5)), 2, eps);
%! assert (profile_width ([0 1 2 1 0], [0 1 2 4 8], 20 * log10 (0.5)), 3, eps);
%! assert (profile_width ([0 4 0 3 0], 0:4, 20 * log10 (0.5)), 1, eps);
%! assert (profile_width ([0 4 0 2 2 0], 0:5, 20 * log10 (0.5), 4), 2, eps);

%!error <fall below -6 dB of its peak on both sides> profile_width ([2 1 0], 0:2)
%!error <AXIS must be increasing> profile_width ([0 1 0], [0 2 1])
%!error <PROFILE must have a peak above 0> profile_width ([0 0 0], 0:2)
%!error <LEVEL_DB must be negative, not 3> profile_width ([0 1 0], 0:2, 3)
%!error <PEAK must be an index from 1 to 3> profile_width ([0 1 0], 0:2, -6, 4)
