#include "AnnotationLayers.h"

#include <cstring>

const char* const plateoStringLayerNames[plateoStringLayerCount] = {
    "注記・記号",
    "市区町村名",
    "漢字",
    "ひらがな",
    "町・大字名",
    "住所",
    "教育/大学・短大・その他",
    "教育/小学・中学・高校",
    "公共/病院",
    "公共",
    "公園・娯楽他",
    "行政",
    "交通関連",
    "国道番号",
    "県道番号",
    "信号機",
    "交差点",
    "ＩＣ・ＪＣ・ＳＡ・ＰＡ",
    "交通注記",
    "新幹線名・鉄道名・道路名",
    "トンネル・坂・橋",
    "駅名（漢字）",
    "駅名（ひらがな）",
    "自然",
    "山名・ピーク",
    "河川名・滝",
    "自然注記",
    "その他",
};

bool IsPlateoStringLayerTitle(const char* title) {
    if (title == nullptr) return false;
    for (const char* name : plateoStringLayerNames) {
        if (std::strcmp(title, name) == 0) return true;
    }
    return false;
}
