var site = 1;
