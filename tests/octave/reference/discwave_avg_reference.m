## H = discwave_avg_reference (points, a, sampling, delay, material, N)
## The circular piston's response averaged over each sampling interval, in
## vectorised Octave, written independently of the discwave_avg module for
## the tests and the benchmarks: the first row that applies of the plateau's
## and the edge wave's cases for every sample, then the trapezoidal rule for
## the edge wave over the samples that need it, both ends of every trapezoid
## evaluated. An interval left of negative length by the clamping at time
## zero gives 0.
function H = discwave_avg_reference (points, a, sampling, delay, material, N)
  dt = sampling(1);
  nt = fix (sampling(2));
  v = material(1);
  cp = material(2);
  N = fix (N);
  n_points = rows (points);
  x = points(:,1).' / 1000;
  y = points(:,2).' / 1000;
  z = points(:,3).' / 1000;
  a = a / 1000;
  if (isscalar (delay))
    delay = repmat (delay, 1, n_points);
  else
    delay = delay(:).';
  endif

  r = sqrt (x.^2 + y.^2);
  R1 = sqrt (z.^2 + (a - r).^2);
  R2 = sqrt (z.^2 + (a + r).^2);
  T1 = R1 / cp;
  T2 = R2 / cp;
  inside = r < a;
  outside = ! inside;
  T = dt / 1000000;
  vcp = v * cp;

  tk = ((0:nt-1).' * dt + delay) / 1000000;
  tlo = tk + T * -0.5;
  tlo(! (tlo >= 0)) = 0;
  thi = (T + tk) + T * -0.5;
  lo = cp * tlo;
  hi = cp * thi;
  full = @(row) repmat (row, nt, 1);

  ## Each case: where it applies, its plateau part, and the limits of its
  ## edge-wave integral (NaN: none).
  none = NaN (nt, n_points);
  cases = {
    inside & hi < z & lo < z,                   0,                          none,     none
    inside & lo < z & z <= hi & hi < R1,        (thi - z / cp) * vcp,       none,     none
    inside & lo < z & R1 <= hi & hi < R2,       full((R1 - z) * vcp / cp), full(T1), thi
    inside & lo < z & hi >= R2,                 full((R1 - z) * vcp / cp), full(T1), full(T2)
    inside & z <= lo & hi < R1,                 (thi - tlo) * vcp,          none,     none
    inside & z <= lo & lo < R1 & R1 <= hi & hi < R2, (T1 - tlo) * vcp,      full(T1), thi
    inside & z <= lo & lo < R1 & hi >= R2,      (T1 - tlo) * vcp,           full(T1), full(T2)
    R1 <= lo & hi < R2,                         0,                          tlo,      thi
    R1 <= lo & lo < R2 & R2 <= hi,              0,                          tlo,      full(T2)
    lo >= R2,                                   0,                          none,     none
    outside & hi < R1,                          0,                          none,     none
    outside & lo < R1 & R1 <= hi & hi < R2,     0,                          full(T1), thi
    outside & lo < R1 & hi >= R2,               0,                          full(T1), full(T2)
  };
  open = true (nt, n_points);
  plateau = zeros (nt, n_points);
  e_lo = none;
  e_hi = none;
  for c = 1:rows (cases)
    here = open & cases{c,1};
    plateau(here) = pick (cases{c,2}, here);
    e_lo(here) = pick (cases{c,3}, here);
    e_hi(here) = pick (cases{c,4}, here);
    open(here) = false;
  endfor

  ## On the axis, or for a radius of 0 or less, there is no edge wave.
  with_edge = ! isnan (e_lo) & full (R1 < R2);
  edge = zeros (nt, n_points);
  edge(with_edge) = trapezoid (e_lo(with_edge), e_hi(with_edge), full(z)(with_edge), a,
                               full(r)(with_edge), cp, N) * (vcp / pi);
  H = (plateau + edge) / T;
  H(thi < tlo) = 0;
endfunction

function values = pick (value, where)
  if (isscalar (value))
    values = value;
  else
    values = value(where);
  endif
endfunction

function total = trapezoid (t1, t2, z, a, r, cp, N)
  step = (t2 - t1) / N;
  tau = t1;
  total = zeros (size (t1));
  for i = 1:N
    next = tau + step;
    total = total + step .* ((phi (q (tau, z, a, r, cp)) + phi (q (next, z, a, r, cp))) * 0.5);
    tau = next;
  endfor
endfunction

function u = q (tau, z, a, r, cp)
  s = tau .* (cp * (tau * cp)) - z.^2;
  u = (s + r.^2 - a^2) ./ (sqrt (max (s, 0)) * 2 .* r);
  u(s < 0) = NaN;
endfunction

function f = phi (u)
  f = zeros (size (u));
  in = u >= -1 & u <= 1;
  f(in) = acos (u(in));
  f(u < -1) = pi;
endfunction
