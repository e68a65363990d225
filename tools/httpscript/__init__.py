"""Scriptable HTTP test server: answers with exact bytes, records requests byte for byte."""
