%MATRIX_ARRAY  Element centres of a matrix array, centred on the origin.
%   ELEMENTS = MATRIX_ARRAY(NX, NY, PITCH_X, PITCH_Y)
%
%   NX x NY elements on a grid PITCH_X mm apart along x and PITCH_Y mm along
%   y, centred on the origin, in the plane z = 0: an (NX*NY) x 3 matrix of
%   centres in mm, x running fastest (row i + NX*j is element (i, j), from
%   0). The array modules take it as their ELEMENTS.
%
%   Example
%     elements = matrix_array (32, 32, 0.3, 0.3);
%
%   See also LINEAR_ARRAY, DISCWAVE_ARRAY.
function elements = matrix_array (nx, ny, pitch_x, pitch_y)
  if (nargin != 4)
    print_usage ();
  endif
  x = linear_array (nx, pitch_x)(:,1);
  y = linear_array (ny, pitch_y)(:,1);
  [X, Y] = ndgrid (x, y);
  elements = [X(:), Y(:), zeros(nx * ny, 1)];
endfunction

%!assert (matrix_array (2, 3, 1, 2), [-0.5 -2 0; 0.5 -2 0; -0.5 0 0; 0.5 0 0; -0.5 2 0; 0.5 2 0])
