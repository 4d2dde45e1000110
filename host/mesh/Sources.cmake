# Sources of host/mesh.
