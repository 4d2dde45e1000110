# Sources of host/render.
