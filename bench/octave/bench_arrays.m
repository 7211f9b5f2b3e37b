## rows = bench_arrays ()
## platewave_array on its workload against the fastest Octave a user writes
## with the single-piston modules (a loop over the elements, vectorised over
## the points): a 128-element linear array (pitch 0.3 mm, elements 0.27 x 5
## mm) focused at 30 mm, 100 x 100 points over x -15..15 mm and z 5..55 mm,
## each point's window from 3 samples before its first arrival and long
## enough for its whole response; at 100 MHz with point samples and at
## 20 MHz with the means over 8 parts. The module on 1 and 2 threads; its
## result is checked against the loop's, bit for bit, first. Also prints the
## module's cost per point x element x sample of the elements' bands.
function rows = bench_arrays ()
  E = linear_array (128, 0.3); cp = 1540;
  [x, z] = meshgrid (linspace (-15, 15, 100), linspace (5, 55, 100));
  P = [x(:), zeros(numel (x), 1), z(:)];
  rows = {};
  for setting = {{0.01, 0, "100 MHz"}, {0.05, 8, "20 MHz, N = 8"}}
    [dt, N, label] = setting{1}{:};
    [~, tau, w] = platewave_array ([0 0 1], E, [0.27 5], [dt 1], 0, [1 cp], {"x", 30});
    [delay, nt] = windows (P, E, tau, dt, cp);
    args = {P, E, [0.27 5], [dt nt], delay, [1 cp], {"x", 30}, "off", "off", N};
    workload = sprintf ("128 elements, 10^4 points, %s, nt = %d", label, nt);
    loop = @() element_loop (args, tau, w);
    [H, band] = loop ();
    if (! isequal (platewave_array (args{:}, 1), H))
      error ("bench: platewave_array and the loop over the elements differ");
    endif
    [loop_steady, loop_first] = time_call (loop, 2);   # minutes a call
    for n = [1 2]
      [steady, first, processor(n)] = time_call (@() platewave_array (args{:}, n), 3);
      rows{end+1} = {sprintf("platewave_array, %d thread%s", n, "s"(n > 1)), workload, first, ...
                     steady, "loop over the elements", loop_first, loop_steady};
      if (n == 1)
        printf ("platewave_array, %s: %.2f ns per point x element x band sample (%.3g band samples)\n",
                label, 1e9 * steady / band, band);
      endif
    endfor
    print_processor_time (["platewave_array, " label], processor(1), processor(2));
  endfor
endfunction

## Each point's window: from 3 samples before the earliest arrival of an
## element's wave (its nearest edge, after its fire time) to past the latest
## (its farthest corner); one length for all, the longest.
function [delay, nt] = windows (P, E, tau, dt, cp)
  first = inf (rows (P), 1); last = -inf (rows (P), 1);
  for i = 1:rows (E)
    d = P - E(i,:);
    near = hypot (max (abs (d(:,1)) - 0.135, 0), hypot (max (abs (d(:,2)) - 2.5, 0), d(:,3)));
    far = hypot (abs (d(:,1)) + 0.135, hypot (abs (d(:,2)) + 2.5, d(:,3)));
    first = min (first, 1000 * near / cp + tau(i));
    last = max (last, 1000 * far / cp + tau(i));
  endfor
  delay = first - 3 * dt;
  nt = ceil (max (last - delay) / dt) + 3;
endfunction

## The loop of platewave_array's help, and the samples of the elements'
## responses that are not zero (their bands).
function [H, band] = element_loop (args, tau, w)
  [P, E, ab, sampling, delay, material] = args{1:6};
  N = args{10};
  H = zeros (sampling(2), rows (P));
  band = 0;
  for i = 1:rows (E)
    if (N == 0)
      h = platewave (P - E(i,:), ab, sampling, delay - tau(i), material);
    else
      h = platewave_avg (P - E(i,:), ab, sampling, delay - tau(i), material, N);
    endif
    band += nnz (h);
    H = H + w(i) * h;
  endfor
endfunction
