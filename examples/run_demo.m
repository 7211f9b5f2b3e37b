## run_demo (output_dir)
## The toolbox's main job: runs the modules in Octave on worked examples,
## prints what they show and writes the figures as PNG files to OUTPUT_DIR.
function run_demo (output_dir = "demo_output")
  if (! exist (output_dir, "dir"))
    mkdir (output_dir);
  endif
  ## Figures are drawn headless through gnuplot; its notices say nothing here.
  saved_warnings = warning ();
  warning ("off", "all");
  graphics_toolkit ("gnuplot");
  warning (saved_warnings);
  warning ("off", "Octave:gnuplot-graphics");

  sections = {@demo_circular_piston, @demo_rectangular_piston, @demo_averaged_response, @demo_apodization, ...
              @demo_attenuation, @demo_column_convolution, @demo_pulse_echo, @demo_array_field, ...
              @demo_cyst_phantom};
  for i = 1:numel (sections)
    sections{i} (output_dir);
    printf ("\n");
  endfor
  printf ("Figures written to %s\n", output_dir);
endfunction
