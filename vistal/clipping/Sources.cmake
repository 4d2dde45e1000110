# Sources of vistal/clipping.
