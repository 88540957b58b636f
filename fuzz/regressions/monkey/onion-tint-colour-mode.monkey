# Shift+F3 (onion skin of the next frame), Ctrl+O (good.lcd of the pool), X (colour mode): the
# canvas kept the onion tint of the old colour mode. Found by seed 2, action 2285.
key 4080 760033 1703322211
key 34 956928 2992601027
key 2513 104566 2589857916
