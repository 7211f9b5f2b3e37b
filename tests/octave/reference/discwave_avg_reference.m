## H = discwave_avg_reference (points, a, sampling, delay, material, N)
## The averaged circular piston in vectorised Octave, written independently
## of the module for the tests and the benchmarks, as fast as Octave computes
## it: the samples whose interval meets the response found with logical
## indexing, the plateau and edge parts of their integrals from the case
## table, and the trapezoidal rule over the samples with an edge part, each
## abscissa's arc cosine taken once.
function H = discwave_avg_reference (points, a, sampling, delay, material, N)
  dt = sampling(1); nt = fix (sampling(2));
  v = material(1); cp = material(2); vcp = v * cp;
  x = points(:,1).' / 1000; y = points(:,2).' / 1000; z = points(:,3).' / 1000;
  a = a / 1000;
  delay = delay(:).' .* ones (1, rows (points));   # one per point
  r = sqrt (x.^2 + y.^2);
  R1 = sqrt (z.^2 + (a - r).^2);
  R2 = sqrt (z.^2 + (a + r).^2);
  inside = r < a;
  T = dt / 1000000;
  tk = ((0:nt-1).' * dt + delay) / 1000000;
  tlo = tk + T * -0.5;
  tlo(! (tlo >= 0)) = 0;
  thi = (T + tk) + T * -0.5;
  first = R1;
  first(inside) = z(inside);
  band = find (! (thi < tlo) & ! (cp * thi < first) & cp * tlo < R2)(:);   # a column for nt = 1 too
  col = ceil (band / nt);
  tlo = tlo(band)(:); thi = thi(band)(:); lo = cp * tlo; hi = cp * thi;
  z = z(col).'; r = r(col).'; R1 = R1(col).'; R2 = R2(col).'; inside = inside(col).';
  T1 = R1 / cp; T2 = R2 / cp;
  ## Each case: where it applies, its plateau part, the limits of its edge
  ## part (NaN: none), in the table's order.
  none = NaN (size (tlo));
  cases = {
    inside & hi < z & lo < z,                          0,                   none, none
    inside & lo < z & z <= hi & hi < R1,               (thi - z / cp) * vcp, none, none
    inside & lo < z & R1 <= hi & hi < R2,              (R1 - z) * vcp / cp, T1,   thi
    inside & lo < z & hi >= R2,                        (R1 - z) * vcp / cp, T1,   T2
    inside & z <= lo & hi < R1,                        (thi - tlo) * vcp,   none, none
    inside & z <= lo & lo < R1 & R1 <= hi & hi < R2,   (T1 - tlo) * vcp,    T1,   thi
    inside & z <= lo & lo < R1 & hi >= R2,             (T1 - tlo) * vcp,    T1,   T2
    R1 <= lo & hi < R2,                                NaN,                 tlo,  thi
    R1 <= lo & lo < R2 & R2 <= hi,                     NaN,                 tlo,  T2
    lo >= R2,                                          0,                   none, none
    ! inside & hi < R1,                                0,                   none, none
    ! inside & lo < R1 & R1 <= hi & hi < R2,           NaN,                 T1,   thi
    ! inside & lo < R1 & hi >= R2,                     NaN,                 T1,   T2
  };
  open = true (size (tlo));
  plateau = zeros (size (tlo));   # NaN: the integral is the edge part alone
  e_lo = none; e_hi = none;
  for c = 1:rows (cases)
    here = open & cases{c,1};
    plateau(here) = pick (cases{c,2}, here);
    e_lo(here) = pick (cases{c,3}, here);
    e_hi(here) = pick (cases{c,4}, here);
    open(here) = false;
  endfor
  U = plateau;
  U(open) = 0;
  with_edge = ! isnan (e_lo);
  E = zeros (size (tlo));
  has_wave = with_edge & R1 < R2;
  E(has_wave) = trapezoid (e_lo(has_wave), e_hi(has_wave), z(has_wave), a, r(has_wave), cp, N) ...
                * (vcp / pi);
  edge_only = with_edge & isnan (plateau);
  U(edge_only) = E(edge_only);
  both = with_edge & ! isnan (plateau);
  U(both) = plateau(both) + E(both);
  H = zeros (nt, columns (tk));
  H(band) = U / T;
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
  left = phi (tau, z, a, r, cp);
  total = zeros (size (t1));
  for i = 1:N
    tau = tau + step;
    right = phi (tau, z, a, r, cp);
    total = total + step .* ((left + right) * 0.5);
    left = right;
  endfor
endfunction

function f = phi (tau, z, a, r, cp)
  s = tau .* (cp * (tau * cp)) - z.^2;
  u = ((s + r.^2) - a^2) ./ (sqrt (max (s, 0)) .* (2 * r));
  f = acos (min (max (u, -1), 1));
  f(isnan (u) | s < 0) = 0;
endfunction
