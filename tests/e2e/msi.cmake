# The installer made from this build's orvane.scr: its tables, install, run, upgrade, downgrade,
# removal and signing, under Wine in a throw-away prefix.
orvane_e2e(e2e_msi msi_e2e.py)
set_property(TEST e2e_msi APPEND PROPERTY ENVIRONMENT "ORVANE_VERSION=${PROJECT_VERSION}")
