<?php
$a = @f("x\"y", 'z'); # c
/* multi
line */ echo $a . 0x1F;
?>
