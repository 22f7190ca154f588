// The input library grows here.
