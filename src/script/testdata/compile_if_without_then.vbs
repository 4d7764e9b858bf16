If x
