SELECT a, b FROM t -- c
WHERE x = 's' AND y > 1.5 /* multi
line */ # h
// s
!$%@`{}~
