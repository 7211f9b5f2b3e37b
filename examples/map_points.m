## R = map_points (fn, n_points, dim, chunk_points, n_procs)
## A point-wise job split into chunks of points over n_procs Octave
## processes with the parallel package's parcellfun, and the chunks'
## results put end to end: the same matrix, bit for bit, as one call over
## all the points.
##
## fn            a function of the indices i of a chunk's points (a column
##               of indices into the point list), returning the result of
##               the module called on those points alone: the points
##               P(i,:), a per-point delay D(i), the rest unchanged
## n_points      the number of points
## dim           the dimension of fn's result that runs over the points:
##               2 for responses (nt x points: discwave, platewave,
##               discwave_avg, velk_damp, lagsum), 1 for images (points x 1:
##               echofocus, echofocus_mt)
## chunk_points  points per chunk
## n_procs       processes (parcellfun forks them; each computes whole
##               chunks; n_procs times the module's own threads should
##               match the cores)
##
## The processes are forks of this one: the arrays fn holds (the A-scans
## of a focusing job) are already there, and only the indices go to them
## and the results come back. Every point's result depends on that point
## alone, so the split changes no bit.
##
## Example, with pkg load parallel and the modules on the path:
##   P = [zeros(1000, 2), linspace(10, 40, 1000)'];
##   D = 1000 * P(:,3) / 1500 - 2;
##   H = map_points (@(i) discwave (P(i,:), 5, [0.025 300], D(i), [1 1500]), 1000, 2, 250, 2);
##   isequal (H, discwave (P, 5, [0.025 300], D, [1 1500]))   # true
function R = map_points (fn, n_points, dim, chunk_points, n_procs)
  starts = 1:chunk_points:max (n_points, 1);
  chunks = arrayfun (@(s) (s:min (s + chunk_points - 1, n_points))', starts,
                     "UniformOutput", false);
  results = parcellfun (n_procs, fn, chunks, "UniformOutput", false, "VerboseLevel", 0);
  R = cat (dim, results{:});
endfunction
