program P;
{ comment
} (* other
*) // line
var s: string = 'it''s'#13$FF;
property X: Integer read F write F default 0;
asm mov eax, 1 end;
begin end.
