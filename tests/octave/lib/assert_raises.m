## assert_raises (f, message)
## Calls F and checks that it fails with exactly MESSAGE.
function assert_raises (f, message)
  try
    f ();
  catch err
    if (! strcmp (err.message, message))
      error ("assert_raises: expected error\n  '%s'\nbut got\n  '%s'", message, err.message);
    endif
    return;
  end_try_catch
  error ("assert_raises: no error; expected '%s'", message);
endfunction
