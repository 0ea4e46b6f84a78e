Option Explicit
Dim x, s
x = 1.5E3 ' note
s = """q"" " & #1/2/2003#
If x <> 2 Then Call F(x) End If
REM old
