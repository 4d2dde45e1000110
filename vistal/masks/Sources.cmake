# Sources of vistal/masks.
