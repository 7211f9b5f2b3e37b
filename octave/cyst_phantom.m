%CYST_PHANTOM  Point scatterers of fully developed speckle in a box, with cysts and point targets.
%   P = CYST_PHANTOM ()
%   P = CYST_PHANTOM (BOX)
%   P = CYST_PHANTOM (BOX, NAME, VALUE, ...)
%
%   BOX is [x0 x1; y0 y1; z0 z1] in mm (default [-20 20; -5 5; 5 55]: 40 mm
%   wide, a 10 mm slab in y, 50 mm deep from 5 mm in front of the probe).
%   round (DENSITY * volume) scatterers are drawn uniformly in the box, each
%   with a standard normal amplitude (rms 1); those inside an anechoic cyst
%   are removed, those inside a bright one multiplied by 10 (+20 dB). The
%   point targets follow, with amplitude TARGET_AMPLITUDE (20 times the
%   speckle's rms).
%
%   P is a struct with the fields POSITIONS (n x 3, mm: the speckle's
%   scatterers, then the targets, the last rows), AMPLITUDES (n x 1), BOX,
%   CYSTS (a struct array: CENTRE 1 x 3 in mm, RADIUS in mm, KIND "anechoic"
%   or "bright", SHAPE "cylinder", along y through the slab, or "sphere")
%   and TARGETS (m x 3, mm).
%
%   Options (NAME, VALUE):
%     "cysts"    a struct array as P.CYSTS (SHAPE may be left out:
%                "cylinder"); default two columns at x = -10 (anechoic) and
%                x = 10 (bright), at depths 15 25 35 45 mm, radii 4 3 2 1 mm;
%                struct ([]) or [] for none.
%     "targets"  m x 3, mm; default x = y = 0 every 5 mm from 10 to 50 mm
%                deep; zeros (0, 3) for none.
%     "density"  scatterers per mm^3; default PER_CELL scatterers in each
%                resolution cell, of volume
%                  (WAVELENGTH * F_NUMBER)
%                  * min (WAVELENGTH * ELEVATION_F_NUMBER, y1 - y0)
%                  * (PULSE_CYCLES * WAVELENGTH / 2),
%                lateral width, elevation width (at most the slab) and axial
%                length (half the pulse length c T): 10 per cell gives fully
%                developed speckle. The defaults (WAVELENGTH 0.308 mm,
%                F_NUMBER 2, ELEVATION_F_NUMBER 6, PULSE_CYCLES 2, PER_CELL
%                10) give 28.52 per mm^3, 570422 scatterers in the default
%                box before the anechoic cysts are emptied.
%     "wavelength", "f_number", "elevation_f_number", "pulse_cycles",
%     "per_cell", "target_amplitude" (default 20)
%     "seed"     default 0: rand ("state", SEED) and randn ("state", SEED)
%                are set (Octave's global generators), so a seed gives the
%                same phantom. The layout and the defaults are those of
%                Python's velk.phantom.cysts, but the points drawn are not
%                the same ones (another generator).
%
%   Example
%     p = cyst_phantom ();
%     p = cyst_phantom (box, "cysts", ...
%                       struct ("centre", [0 0 15], "radius", 2, "kind", "anechoic"), ...
%                       "targets", [3 0 12], "density", 20);
%
%   See also IMAGE_QUALITY, PROFILE_WIDTH.
function p = cyst_phantom (box = [-20 20; -5 5; 5 55], varargin)
  if (mod (numel (varargin), 2) != 0)
    print_usage ();
  endif
  if (! isnumeric (box) || ! isequal (size (box), [3 2]) || ! all (isfinite (box(:))))
    error ("cyst_phantom: BOX must be [x0 x1; y0 y1; z0 z1]");
  endif
  axes = "xyz";
  for k = 1:3
    if (! (box(k,2) > box(k,1)))
      error ("cyst_phantom: BOX must have %s1 > %s0, not %s0 = %g, %s1 = %g",
             axes(k), axes(k), axes(k), box(k,1), axes(k), box(k,2));
    endif
  endfor
  o = struct ("cysts", default_cysts (), "targets", [zeros(9, 2), (10:5:50)'],
              "density", [], "wavelength", 0.308, "f_number", 2, "elevation_f_number", 6,
              "pulse_cycles", 2, "per_cell", 10, "target_amplitude", 20, "seed", 0);
  for k = 1:2:numel (varargin)
    name = varargin{k};
    if (! ischar (name) || ! isfield (o, name))
      error ("cyst_phantom: unknown option '%s'", num2str (name));
    endif
    o.(name) = varargin{k+1};
  endfor
  names = {"wavelength", "f_number", "elevation_f_number", "pulse_cycles", "per_cell"};
  for k = 1:numel (names)
    v = o.(names{k});
    if (! isscalar (v) || ! (v > 0) || ! isfinite (v))
      error ("cyst_phantom: %s must be positive, not %g", names{k}, v);
    endif
  endfor

  cysts = check_cysts (o.cysts, box);
  targets = o.targets;
  if (isempty (targets))
    targets = zeros (0, 3);
  elseif (columns (targets) != 3)
    error ("cyst_phantom: TARGETS must be m x 3, not %d x %d", rows (targets), columns (targets));
  endif
  lo = box(:,1)';
  hi = box(:,2)';
  out = ! all (targets >= lo & targets <= hi, 2);
  if (any (out))
    t = targets(find (out, 1), :);
    error ("cyst_phantom: targets must lie inside the box, not [%g %g %g]", t);
  endif

  if (isempty (o.density))
    cell_volume = (o.wavelength * o.f_number) ...
                  * min (o.wavelength * o.elevation_f_number, box(2,2) - box(2,1)) ...
                  * (o.pulse_cycles * o.wavelength / 2);
    density = o.per_cell / cell_volume;
  else
    density = o.density;
    if (! isscalar (density) || ! (density > 0) || ! isfinite (density))
      error ("cyst_phantom: density must be positive, not %g", density);
    endif
  endif
  count = round (density * prod (hi - lo));
  rand ("state", o.seed);
  randn ("state", o.seed);
  positions = lo + (hi - lo) .* rand (count, 3);
  amplitudes = randn (count, 1);
  keep = true (count, 1);
  for k = 1:numel (cysts)
    c = cysts(k);
    d = positions - c.centre;
    if (strcmp (c.shape, "cylinder"))
      d(:,2) = 0;
    endif
    inside = sumsq (d, 2) <= c.radius ^ 2;
    if (strcmp (c.kind, "anechoic"))
      keep &= ! inside;
    else
      amplitudes(inside) *= 10;
    endif
  endfor
  p = struct ("positions", [positions(keep,:); targets],
              "amplitudes", [amplitudes(keep); repmat(o.target_amplitude, rows (targets), 1)],
              "box", box, "cysts", cysts, "targets", targets);
endfunction

function c = default_cysts ()
  z = num2cell ([15 25 35 45 15 25 35 45]);
  x = [-10 -10 -10 -10 10 10 10 10];
  r = num2cell ([4 3 2 1 4 3 2 1]);
  centre = arrayfun (@(k) [x(k) 0 z{k}], 1:8, "uniformoutput", false);
  kind = [repmat({"anechoic"}, 1, 4), repmat({"bright"}, 1, 4)];
  c = struct ("centre", centre, "radius", r, "kind", kind,
              "shape", {"cylinder"});
endfunction

function cysts = check_cysts (c, box)
  cysts = struct ("centre", {}, "radius", {}, "kind", {}, "shape", {});
  if (isempty (c))
    return;
  endif
  if (! isstruct (c) || ! all (isfield (c, {"centre", "radius", "kind"})))
    error ("cyst_phantom: CYSTS must be a struct array with fields centre, radius and kind");
  endif
  for k = 1:numel (c)
    centre = double (c(k).centre(:)');
    radius = c(k).radius;
    kind = c(k).kind;
    shape = "cylinder";
    if (isfield (c, "shape") && ! isempty (c(k).shape))
      shape = c(k).shape;
    endif
    if (numel (centre) != 3 || ! all (isfinite (centre)))
      error ("cyst_phantom: centre must be 3 finite coordinates");
    endif
    if (! isscalar (radius) || ! (radius > 0) || ! isfinite (radius))
      error ("cyst_phantom: radius must be positive, not %g", radius);
    endif
    if (! any (strcmp (kind, {"anechoic", "bright"})))
      error ("cyst_phantom: kind must be 'anechoic' or 'bright', not '%s'", num2str (kind));
    endif
    if (! any (strcmp (shape, {"cylinder", "sphere"})))
      error ("cyst_phantom: shape must be 'cylinder' or 'sphere', not '%s'", num2str (shape));
    endif
    reach = radius * [1, strcmp(shape, "sphere"), 1];
    if (any (centre - reach < box(:,1)') || any (centre + reach > box(:,2)'))
      error ("cyst_phantom: cyst must lie inside the box, not centre [%g %g %g] radius %g",
             centre, radius);
    endif
    cysts(end+1) = struct ("centre", centre, "radius", radius, "kind", kind, "shape", shape);
  endfor
endfunction

%!shared p, small, box
%! box = [-5 5; -1 1; 10 20];
%! p = cyst_phantom ();
%! small = @(varargin) cyst_phantom (box, "targets", [], varargin{:});

%!test  # the default layout and the count of 10 scatterers per resolution cell
%! cellv = (0.308 * 2) * (0.308 * 6) * (2 * 0.308 / 2);
%! drawn = round (10 / cellv * 40 * 10 * 50);
%! assert (drawn, 570422);
%! emptied = sum (pi * [4 3 2 1] .^ 2 * 10);
%! n = rows (p.positions) - 9;
%! assert (abs (n - drawn * (1 - emptied / 20000)) < 4 * sqrt (drawn * emptied / 20000));
%! assert (numel (p.cysts), 8);
%! assert (p.targets(:,3)', 10:5:50);
%! assert (p.positions(end-8:end,:), p.targets);
%! assert (p.amplitudes(end-8:end), 20 * ones (9, 1));
%! assert (all (all (p.positions >= p.box(:,1)' & p.positions <= p.box(:,2)')));

%!test  # no cysts: round (density * volume) points; the slab caps the elevation width
%! q = small ("cysts", [], "density", 3);
%! assert (size (q.positions), [600 3]);
%! q = cyst_phantom ([-5 5; -0.5 0.5; 10 20], "cysts", [], "targets", []);
%! cellv = (0.308 * 2) * 1 * (2 * 0.308 / 2);
%! assert (rows (q.positions), round (10 / cellv * 100));

%!test  # an anechoic cyst empties its disc, a bright one scales it by 10, both in y
%! c = struct ("centre", [0 0 15], "radius", 3, "kind", "anechoic");
%! plain = small ("cysts", [], "density", 20, "seed", 4);
%! q = small ("cysts", c, "density", 20, "seed", 4);
%! d = hypot (plain.positions(:,1), plain.positions(:,3) - 15);
%! assert (q.positions, plain.positions(d > 3, :));
%! c.kind = "bright";
%! q = small ("cysts", c, "density", 20, "seed", 4);
%! assert (q.amplitudes, plain.amplitudes .* (1 + 9 * (d <= 3)));
%! c.shape = "sphere"; c.radius = 0.8;
%! q = small ("cysts", c, "density", 20, "seed", 4);
%! inside = sumsq (plain.positions - [0 0 15], 2) <= 0.64;
%! assert (q.amplitudes, plain.amplitudes .* (1 + 9 * inside));

%!test  # a seed gives the same phantom, another seed another
%! a = small ("density", 5, "seed", 7, "cysts", []);
%! b = small ("density", 5, "seed", 7, "cysts", []);
%! c = small ("density", 5, "seed", 8, "cysts", []);
%! assert (a.positions, b.positions);
%! assert (a.amplitudes, b.amplitudes);
%! assert (! isequal (a.positions, c.positions));

%!error <radius must be positive, not -1>
%! cyst_phantom (box, "cysts", struct ("centre", [0 0 15], "radius", -1, "kind", "anechoic"));
%!error <cyst must lie inside the box>
%! cyst_phantom (box, "cysts", struct ("centre", [4 0 15], "radius", 2, "kind", "bright"));
%!error <cyst must lie inside the box>
%! c = struct ("centre", [0 0 15], "radius", 1.5, "kind", "bright", "shape", "sphere");
%! cyst_phantom (box, "cysts", c);
%!error <kind must be 'anechoic' or 'bright'>
%! cyst_phantom (box, "cysts", struct ("centre", [0 0 15], "radius", 1, "kind", "dark"));
%!error <BOX must have y1 . y0, not y0 = 1, y1 = 1> cyst_phantom ([-5 5; 1 1; 10 20])
%!error <targets must lie inside the box> cyst_phantom (box, "cysts", [], "targets", [0 0 25])
%!error <density must be positive, not 0>
%! cyst_phantom (box, "cysts", [], "targets", [], "density", 0);
%!error <unknown option 'colour'> cyst_phantom ([-20 20; -5 5; 5 55], "colour", 1)
%!error <cyst must lie inside the box> cyst_phantom ([-5 5; -1 1; 10 20])
