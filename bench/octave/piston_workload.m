## [points, delay, sampling, material] = piston_workload (foot_distance)
## The pistons' workload: 1000 points whose feet lie inside, on the edge of
## and outside the piston (every tenth on the edge), 20 to 40 mm deep, 1000
## samples of 0.01 us. Each point's window starts three samples before its
## first arrival, so most of its samples carry signal; FOOT_DISTANCE (x, y)
## gives the distance in mm from a foot to the nearest point of the piston.
function [points, delay, sampling, material] = piston_workload (foot_distance)
  n = 1000;
  i = (0:n-1)';
  rho = 10 * mod (0.618034 * i, 1);       # 0 to 10 mm from the axis
  angle = 2.399963 * i;
  points = [rho .* cos(angle), rho .* sin(angle), 20 + 20 * i / n];
  sampling = [0.01 1000];
  material = [1 1500];
  nearest = sqrt (points(:,3).^2 + foot_distance (points(:,1), points(:,2)).^2);
  delay = (1000 * nearest / material(2) - 3 * sampling(1)).';
endfunction
