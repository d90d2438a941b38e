# Empty dependencies file for demo_driver.
# This may be replaced when dependencies are built.
