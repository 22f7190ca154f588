#pragma once

#include <QString>

// Whether a file found in a folder is taken for a video by its name: its extension is one of
// those of video files (case aside): 3g2 3gp asf avi divx dv f4v flv m1v m2t m2ts m2v m4v mkv
// mod mov mp4 mpe mpeg mpg mts mxf ogm ogv qt rm rmvb tod ts vob webm wmv y4m. Pictures,
// subtitles, text and a folder's other files are left where they are.
bool IsVideoFileName(const QString& name);
