orvane_e2e(e2e_frame frame_e2e.py)
