# Sources of vistal/render.
