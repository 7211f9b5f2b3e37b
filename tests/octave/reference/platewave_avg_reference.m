## H = platewave_avg_reference (points, ab, sampling, delay, material, N)
## The mean of the rectangular piston's response over each sampling
## interval, from 1000 point samples of PLATEWAVE at the middles of equal
## parts of the interval, those before time zero counting as 0 (the interval
## is clamped there while the mean divides by the whole DT). N is not read:
## this mean is within about 1e-3 of the column's peak of the exact one
## (a plateau shorter than a part is counted to within a part's length).
function H = platewave_avg_reference (points, ab, sampling, delay, material, ~)
  dt = sampling(1); nt = fix (sampling(2)); parts = 1000;
  delay = delay(:).' .* ones (1, rows (points));   # one per point
  H = zeros (nt, rows (points));
  for i = 1:rows (points)
    first = delay(i) - dt / 2 + dt / parts / 2;
    fine = platewave (points(i,:), ab, [dt / parts, nt * parts], first, material);
    t = first + (0:nt*parts-1)' * dt / parts;
    fine(t < 0) = 0;
    H(:,i) = mean (reshape (fine, parts, nt), 1)';
  endfor
endfunction
