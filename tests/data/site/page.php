<?php include 'header.php'; ?>
<body>
<p><a href="<?php echo $next; ?>">next</a> <a href="index.htm">home</a></p>
<p><img src="images/missing.png" alt="<?php echo $alt ?>"></p>
<?php if ($admin) { ?><p><a href="private/admin.php">admin</a></p><?php } ?>
</body>
</html>
