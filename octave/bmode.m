%BMODE  Log-compressed image in dB, its maximum at 0.
%   D = BMODE(B)
%   D = BMODE(B, DYNAMIC_RANGE)
%
%   20 log10 (abs (B) / max (abs (B(:)))), clipped below at -DYNAMIC_RANGE
%   (60 by default): the B-mode of a complex (analytic or I/Q) image, whose
%   magnitude is the envelope; a real (RF) image is taken as it is.
%
%   Example
%     D = bmode (beamform (analytic (data), probe, events, [t0 dt], cp, points));
%     imagesc (x, z, reshape (D, size (x))), axis image, colorbar
%
%   See also BEAMFORM, ANALYTIC.
function D = bmode (B, dynamic_range = 60)
  a = abs (B);
  D = max (20 * log10 (a / max (a(:))), -dynamic_range);
endfunction

%!assert (bmode ([1; 0.1; 1e-5]), [0; -20; -60], 1e-12)
%!assert (bmode ([2i; -1]), [0; 20 * log10(0.5)], 1e-12)
