# Sources of host/gui.
