"""Stand-in offline service for development and tests."""
