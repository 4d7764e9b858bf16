With x
