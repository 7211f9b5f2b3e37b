## save_figure (fig, output_dir, name)
## Writes figure FIG as OUTPUT_DIR/NAME.png and closes it.
function save_figure (fig, output_dir, name)
  file = fullfile (output_dir, [name ".png"]);
  saved_warnings = warning ();
  warning ("off", "all");   # print's notice that Ghostscript is absent: PNG needs none
  print (fig, "-dpngcairo", "-S900,520", file);
  warning (saved_warnings);
  close (fig);
  printf ("  wrote %s\n", file);
endfunction
