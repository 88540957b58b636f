# The append slot chosen, a right press on the canvas, which begins a frame, a command that
# moves to another frame while the button is held, a second press: the command must end the
# drag first, or the drag's work goes into the other frame. Found by seed 2 with that end taken
# out of the window's command wrapper.
slot 1661 402105 3534080003
press 2263 423624 4054079070
command 1060 380343 731738396
press 1557 968106 2154516375
