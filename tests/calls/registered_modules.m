## names = registered_modules ()
## The modules of modules.def, in its order, as a cell row of names.
function names = registered_modules ()
  file = fullfile (fileparts (mfilename ("fullpath")), "..", "..", "modules.def");
  lines = regexp (fileread (file), '^VELK_MODULE\((\w+),', "tokens", "lineanchors");
  names = cellfun (@(t) t{1}, lines, "UniformOutput", false);
endfunction
