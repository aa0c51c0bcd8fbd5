// Replaced by the profile layer.
