# The software fallback of the real saver, forced by a Mesa version override below OpenGL 3.3.
orvane_e2e(e2e_software software_e2e.py)
