# Sources of host/core.
