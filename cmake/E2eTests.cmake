# Registered by the E2E harness once it exists.
