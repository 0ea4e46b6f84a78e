<!DOCTYPE html>
<html>
<head>
<title>Admin</title>
</head>
<body>
<p><a href="../index.htm">Home</a></p>
</body>
</html>
