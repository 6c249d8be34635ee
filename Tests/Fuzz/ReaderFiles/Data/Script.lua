ran = (ran or 0) + 1
