%LINEAR_ARRAY  Element centres of a linear array, centred on the origin.
%   ELEMENTS = LINEAR_ARRAY(N, PITCH)
%
%   N elements PITCH mm apart along x, centred on the origin, in the plane
%   z = 0: row i of the N x 3 result is [(i - (N+1)/2) * PITCH, 0, 0], in
%   mm. The array modules (PLATEWAVE_ARRAY, DISCWAVE_ARRAY) take it as
%   their ELEMENTS; their focusing, steering and windows assume an array
%   described about the origin.
%
%   Example
%     elements = linear_array (128, 0.3);   % from -19.05 to 19.05 mm
%
%   See also MATRIX_ARRAY, PLATEWAVE_ARRAY.
function elements = linear_array (n, pitch)
  if (nargin != 2 || ! isscalar (n) || n != fix (n) || n < 1 || ! isscalar (pitch)
      || ! isfinite (pitch))
    print_usage ();
  endif
  x = ((1:n)' - (n + 1) / 2) * pitch;
  elements = [x, zeros(n, 2)];
endfunction

%!assert (linear_array (3, 0.5), [-0.5 0 0; 0 0 0; 0.5 0 0])
%!assert (linear_array (2, 0.3), [-0.15 0 0; 0.15 0 0], eps)
%!error linear_array (0, 0.3)
