// Shared platform layer.
