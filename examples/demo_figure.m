## fig = demo_figure ()
## A hidden figure for the demo, with text of a size that leaves room for
## every title, label and legend in the image save_figure writes.
function fig = demo_figure ()
  fig = figure ("visible", "off");
  set (fig, "defaultaxesfontsize", 8, "defaulttextfontsize", 8);
endfunction
