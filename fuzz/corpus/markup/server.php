<?php include "h.php"; ?>
<a href="<?= $u ?>">u</a><?php /* ?> */ echo <<<EOT
?> x
EOT;
?><% a = "%>" %>
