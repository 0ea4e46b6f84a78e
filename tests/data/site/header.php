<!DOCTYPE html>
<?php $title = 'PHP page'; ?>
<link rel="stylesheet" href="style.css">
