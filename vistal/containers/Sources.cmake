# Sources of vistal/containers.
