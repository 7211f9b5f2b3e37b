%IMAGE_QUALITY  Contrast, CNR, speckle SNR and point widths of an envelope image.
%   V = IMAGE_QUALITY (ENV, X, Z, "contrast", INSIDE, OUTSIDE)
%   V = IMAGE_QUALITY (ENV, X, Z, "cnr", INSIDE, OUTSIDE)
%   V = IMAGE_QUALITY (ENV, X, Z, "speckle_snr", REGION)
%   W = IMAGE_QUALITY (ENV, X, Z, "widths", TARGET)
%   W = IMAGE_QUALITY (ENV, X, Z, "widths", TARGET, WINDOW, LEVEL_DB)
%   M = IMAGE_QUALITY (ENV, X, Z, "mask", REGION)
%
%   ENV is the envelope's amplitude (before log compression), ENV(iz, ix)
%   at depth Z(iz) and lateral position X(ix), in mm. A region (INSIDE,
%   OUTSIDE, REGION) is a logical mask of ENV's size, a disc [xc zc r] (the
%   pixels at most r from the centre) or a ring [xc zc r_in r_out] (more
%   than r_in, at most r_out).
%
%   "contrast"     20*log10 (mean (ENV(INSIDE)) / mean (ENV(OUTSIDE))), dB,
%                  of the mean amplitudes (-Inf for a region of zeros).
%   "cnr"          |mu_in - mu_out| / sqrt (var_in + var_out) of the
%                  amplitudes (population variances).
%   "speckle_snr"  mean / std of ENV(REGION): 1.91 for fully developed
%                  speckle (Rayleigh, sqrt (pi/2) / sqrt (2 - pi/2)).
%   "widths"       [axial lateral], mm: PROFILE_WIDTH at LEVEL_DB (-6) of
%                  the column and of the row through the largest pixel
%                  within WINDOW mm (2) of TARGET ([x z] or [x y z]), from
%                  that pixel (a brighter peak farther away is not it).
%   "mask"         the region's logical mask.
%
%   The same metrics as Python's velk.quality.
%
%   Example
%     c = image_quality (env, x, z, "contrast", [-10 15 3], [-10 15 4 6]);
%
%   See also PROFILE_WIDTH, CYST_PHANTOM.
function v = image_quality (env, x, z, metric, varargin)
  if (nargin < 5 || ! ischar (metric))
    print_usage ();
  endif
  x = x(:)';
  z = z(:);
  if (! isequal (size (env), [numel(z) numel(x)]))
    error ("image_quality: ENV must be numel (Z) x numel (X) = %d x %d, not %d x %d",
           numel (z), numel (x), rows (env), columns (env));
  endif
  env = double (env);
  switch (metric)
    case "mask"
      v = region (varargin{1}, x, z, "REGION");
    case {"contrast", "cnr"}
      if (numel (varargin) != 2)
        print_usage ();
      endif
      a = env(region (varargin{1}, x, z, "INSIDE"));
      b = env(region (varargin{2}, x, z, "OUTSIDE"));
      if (strcmp (metric, "contrast"))
        v = 20 * (log10 (mean (a)) - log10 (mean (b)));
      else
        v = abs (mean (a) - mean (b)) / sqrt (var (a, 1) + var (b, 1));
      endif
    case "speckle_snr"
      a = env(region (varargin{1}, x, z, "REGION"));
      v = mean (a) / std (a, 1);
    case "widths"
      target = varargin{1}(:)';
      if (numel (target) == 3)
        target = target([1 3]);
      elseif (numel (target) != 2)
        error ("image_quality: TARGET must be [x z] or [x y z]");
      endif
      window = 2;
      level_db = -6;
      if (numel (varargin) >= 2)
        window = varargin{2};
      endif
      if (numel (varargin) >= 3)
        level_db = varargin{3};
      endif
      near_x = find (abs (x - target(1)) <= window);
      near_z = find (abs (z - target(2)) <= window);
      if (isempty (near_x) || isempty (near_z))
        error ("image_quality: TARGET must have pixels within %g mm", window);
      endif
      [~, k] = max (reshape (env(near_z, near_x), [], 1));
      [pz, px] = ind2sub ([numel(near_z) numel(near_x)], k);
      iz = near_z(pz);
      ix = near_x(px);
      v = [profile_width(env(:,ix), z, level_db, iz), ...
           profile_width(env(iz,:), x, level_db, ix)];
    otherwise
      error ("image_quality: unknown metric '%s'", metric);
  endswitch
endfunction

function m = region (r, x, z, name)
  if (islogical (r))
    if (! isequal (size (r), [numel(z) numel(x)]))
      error ("image_quality: %s must be a mask of the envelope's size", name);
    endif
    m = r;
  elseif (isnumeric (r) && any (numel (r) == [3 4]))
    d = hypot (x - r(1), z - r(2));
    if (numel (r) == 3)
      if (! (r(3) > 0))
        error ("image_quality: %s radius must be positive, not %g", name, r(3));
      endif
      m = d <= r(3);
    else
      if (! (r(3) >= 0 && r(4) > r(3)))
        error ("image_quality: %s ring must have 0 <= r_in < r_out, not %g, %g", name, r(3), r(4));
      endif
      m = d > r(3) & d <= r(4);
    endif
  else
    error ("image_quality: %s must be a logical mask, [xc zc r] or [xc zc r_in r_out]", name);
  endif
  if (! any (m(:)))
    error ("image_quality: %s must hold at least one pixel, not none", name);
  endif
endfunction

%!shared x, z, env
%! x = -10:0.1:10;
%! z = 20:0.1:40;
%! rand ("state", 3);
%! env = sqrt (-2 * log (rand (numel (z), numel (x))));   # Rayleigh, sigma 1

%!test  # Rayleigh speckle: SNR 1.91; a disc of zeros: -Inf dB; 10 times brighter: +20 dB
%! assert (image_quality (env, x, z, "speckle_snr", true (size (env))), 1.913, 0.02);
%! dark = env .* ! image_quality (env, x, z, "mask", [0 30 3]);
%! assert (image_quality (dark, x, z, "contrast", [0 30 3], [0 30 4 8]), -Inf);
%! bright = env .* (1 + 9 * image_quality (env, x, z, "mask", [0 30 3]));
%! assert (image_quality (bright, x, z, "contrast", [0 30 3], [0 30 4 8]), 20, 0.3);
%! mu = sqrt (pi / 2); s2 = 2 - pi / 2;
%! assert (image_quality (dark, x, z, "cnr", [0 30 3], [0 30 4 8]), mu / sqrt (s2), 0.03);

%!test  # masks: a disc and a ring of a 3 x 3 grid; a logical mask is taken as it is
%! m = image_quality (zeros (3), [-1 0 1], [9 10 11], "mask", [0 10 1]);
%! assert (m, logical ([0 1 0; 1 1 1; 0 1 0]));
%! m = image_quality (zeros (3), [-1 0 1], [9 10 11], "mask", [0 10 0.5 1]);
%! assert (m, logical ([0 1 0; 1 0 1; 0 1 0]));
%! e = [0 2 2 4];
%! v = image_quality (e, 1:4, 1, "cnr", logical ([1 1 0 0]), logical ([0 0 1 1]));
%! assert (v, sqrt (2), eps);

%!test  # widths of a Gaussian spot next to a brighter one outside the window
%! xs = -3:0.01:3; zs = 27:0.01:33;
%! spot = exp (-((zs' - 30) / 0.3).^2 / 2 - (xs / 0.6).^2 / 2);
%! spot += 2 * exp (-((zs' - 30) / 0.3).^2 / 2 - ((xs - 2.8) / 0.1).^2 / 2);
%! w = image_quality (spot, xs, zs, "widths", [0 0 30], 1, 20 * log10 (0.5));
%! assert (w, 2.3548 * [0.3 0.6], 1e-3);

%!error <unknown metric 'sharpness'> image_quality (env, x, z, "sharpness", [0 30 1])
%!error <INSIDE radius must be positive, not -1>
%! image_quality (env, x, z, "contrast", [0 30 -1], [0 30 4 8]);
%!error <OUTSIDE must hold at least one pixel>
%! image_quality (env, x, z, "contrast", [0 30 1], [0 80 4 8]);
%!error <= 201 x 200, not 201 x 201> image_quality (env, x(2:end), z, "speckle_snr", [0 30 1])
%!error <must have pixels within 2 mm> image_quality (env, x, z, "widths", [0 90])
