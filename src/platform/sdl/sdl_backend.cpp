// SDL backend.
