%ELEMENT_WEIGHTS  Apodization weights of an array's elements.
%   W = ELEMENT_WEIGHTS(CENTRES, APOD)
%
%   The weights that PLATEWAVE_ARRAY gives the elements with centres
%   CENTRES (Ne x 3, mm, about the origin) under the apodization APOD
%   ("off", {"ud", W0}, "triangle", {"gauss", P}, {"raised", P}, "simply"
%   or "clamped"): Ne x 1.
%
%   Example
%     w = element_weights (linear_array (64, 0.3), {"raised", 1});
%
%   See also PLATEWAVE_ARRAY, PLANE_WAVE_EVENTS.
function w = element_weights (centres, apod)
  [~, ~, w] = platewave_array ([0 0 1], centres, [1 1], [1 1], 0, [1 1500], "off", "off", apod);
endfunction

%!assert (element_weights ([-1 0 0; 0 0 0; 1 0 0], "triangle"), [0; 1; 0])
