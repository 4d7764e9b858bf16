' Text that does not compile fails where the parser finds the fault; none of it runs.
WScript.Echo "not printed"
total = 1 + * 2
