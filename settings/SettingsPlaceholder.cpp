// The settings library grows here.
