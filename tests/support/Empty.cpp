// Keeps the helper libraries non-empty while a group has no sources of its own.
