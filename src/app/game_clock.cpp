// The game clock.
