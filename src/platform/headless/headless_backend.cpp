// Headless backend.
