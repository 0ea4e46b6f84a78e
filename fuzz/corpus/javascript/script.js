var s = "a\"b"; /* c
 d */ // e
if (x %= 2) { alert('x'); } $ff #12 @
