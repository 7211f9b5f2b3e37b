%LINEAR_PROBE  A linear array of rectangular elements, as the simulator and the imager take it.
%   PROBE = LINEAR_PROBE(N, PITCH, [WIDTH HEIGHT])
%
%   A struct with the fields CENTRES (N x 3, mm: LINEAR_ARRAY (N, PITCH))
%   and SIZE ([WIDTH HEIGHT], mm, each element's sides along x and y). A
%   probe of circular elements has the field RADIUS (mm) instead of SIZE; a
%   probe that receives with other elements than it transmits with carries
%   them as a field RECEIVER, a probe of its own.
%
%   Example
%     probe = linear_probe (128, 0.3, [0.27 5]);
%
%   See also LINEAR_ARRAY, PLANE_WAVE_EVENTS, PULSE_ECHO, BEAMFORM.
function probe = linear_probe (n, pitch, element_size)
  if (nargin != 3 || numel (element_size) != 2)
    print_usage ();
  endif
  probe = struct ("centres", linear_array (n, pitch), "size", element_size(:)');
endfunction

%!test
%! p = linear_probe (4, 0.3, [0.27 5]);
%! assert (p.centres(:,1)', [-0.45 -0.15 0.15 0.45], eps);
%! assert (p.size, [0.27 5]);
