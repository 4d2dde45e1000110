# Sources of vistal/volume.
