Sub s
