%PRESSURE  Pressure from a spatial impulse response and the surface's velocity.
%   P = PRESSURE(H, PULSE, DT, RHO)
%
%   The pressure p(t) = RHO d/dt (v * h)(t) at each point, h a response of
%   the spatial impulse response modules (PLATEWAVE, PLATEWAVE_ARRAY, ...,
%   in m/s, one point per column) and v(t) the surface's normal velocity
%   PULSE (m/s, sampled every DT us from the time of h's first sample). The
%   convolution is taken as the sum of the products times DT, the
%   derivative as the central difference (the one-sided one at the ends),
%   so P has the rows of H: row k+1 is the pressure at the time of H's row
%   k+1. A response computed with V = 1 in a module that scales by V (the
%   circular pistons) gives the same as one that does not.
%
%   Arguments
%     H       NT x No matrix of spatial impulse responses, in m/s.
%     PULSE   the normal velocity of the surface, in m/s, a vector of
%             samples DT us apart, the first at time 0.
%     DT      sampling period, in us.
%     RHO     density of the medium, in kg/m^3.
%
%   Result
%     P       NT x No matrix, in Pa.
%
%   Example
%     t = (0:0.01:1)'; pulse = sin (2*pi*3*t) .* hanning (numel (t));
%     H = platewave ([0 0 30], [0.27 5], [0.01 500], 18, [1 1540]);
%     p = pressure (H, pulse, 0.01, 1000);
%
%   See also PLATEWAVE_ARRAY, FOLD_MT.
function p = pressure (H, pulse, dt, rho)
  if (nargin != 4 || ! isvector (pulse) || ! isscalar (dt) || ! (dt > 0) || ! isscalar (rho))
    print_usage ();
  endif
  T = dt / 1e6;
  phi = fold_mt (H, pulse(:), 1)(1:rows (H), :) * T;   # (v * h), in m^2/s
  p = zeros (size (H));
  if (rows (H) > 1)
    p(2:end-1,:) = (phi(3:end,:) - phi(1:end-2,:)) / (2 * T);
    p(1,:) = (phi(2,:) - phi(1,:)) / T;
    p(end,:) = (phi(end,:) - phi(end-1,:)) / T;
  endif
  p = rho * p;
endfunction

## A velocity step of 1 m/s on a large piston gives the plane wave's rho c v
## behind the arrival (the derivative of the step's integral).
%!test
%! H = platewave ([0 0 5], [100 100], [0.01 2000], 0, [1 1500]);
%! p = pressure (H, ones (2000, 1), 0.01, 1000);
%! assert (p(600:1000), 1000 * 1500 * ones (401, 1), -1e-9);
