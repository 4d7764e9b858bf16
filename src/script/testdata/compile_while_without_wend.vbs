While x
