#include "LayerScheme.h"

#include <algorithm>
#include <cstring>
#include <string_view>

namespace {

constexpr LayerSchemeEntry Leaf(const char* title) { return {title, false, nullptr, 0}; }

template <std::size_t N>
constexpr LayerSchemeEntry Group(const char* title, const LayerSchemeEntry (&sublayers)[N]) {
    return {title, true, sublayers, static_cast<int32_t>(N)};
}

// 注記・記号 > 市区町村名
constexpr LayerSchemeEntry material_1_1[] = {
    Leaf("漢字"),
    Leaf("ひらがな"),
};
// 注記・記号 > 交通関連
constexpr LayerSchemeEntry material_1_10[] = {
    Leaf("国道番号"),
    Leaf("県道番号"),
    Leaf("信号機"),
    Leaf("交差点"),
    Leaf("ＩＣ・ＪＣ・ＳＡ・ＰＡ"),
    Leaf("交通注記"),
    Leaf("新幹線名・鉄道名・道路名"),
    Leaf("トンネル・坂・橋"),
    Leaf("駅名（漢字）"),
    Leaf("駅名（ひらがな）"),
};
// 注記・記号 > 自然
constexpr LayerSchemeEntry material_1_11[] = {
    Leaf("山名・ピーク"),
    Leaf("河川名・滝"),
    Leaf("自然注記"),
};
// 注記・記号
constexpr LayerSchemeEntry material_1[] = {
    Group("市区町村名", material_1_1),
    Leaf("町・大字名"),
    Leaf("住所"),
    Leaf("教育/大学・短大・その他"),
    Leaf("教育/小学・中学・高校"),
    Leaf("公共/病院"),
    Leaf("公共"),
    Leaf("公園・娯楽他"),
    Leaf("行政"),
    Group("交通関連", material_1_10),
    Group("自然", material_1_11),
    Leaf("その他"),
};
// 交通 > 鉄道（高架）
constexpr LayerSchemeEntry material_3_2[] = {
    Leaf("新幹線（高架）"),
    Leaf("ＪＲ（高架）"),
    Leaf("地下鉄（高架）"),
    Leaf("私鉄・第３セクター（高架）"),
    Leaf("ロープウェイ・ゴンドラ・リフト（高架）"),
    Leaf("モノレール・ケーブルカー（高架）"),
    Leaf("その他鉄道（高架）"),
};
// 交通 > 道路（高架）
constexpr LayerSchemeEntry material_3_3[] = {
    Leaf("高速・都市高速・有料（高架）"),
    Leaf("高速・都市高速・有料（高架）ククリ"),
    Leaf("国道・主要地方道・一般県道（高架）"),
    Leaf("その他道路（高架）"),
    Leaf("国道・主要地方道・一般県道・その他道路（高架）ククリ"),
};
// 交通 > 鉄道（地上）
constexpr LayerSchemeEntry material_3_5[] = {
    Leaf("新幹線（地上）"),
    Leaf("ＪＲ（地上）"),
    Leaf("地下鉄（地上）"),
    Leaf("私鉄・第３セクター（地上）"),
    Leaf("ロープウェイ・ゴンドラ・リフト（地上）"),
    Leaf("モノレール・ケーブルカー（地上）"),
    Leaf("その他鉄道（地上）"),
};
// 交通 > 鉄道（地下）
constexpr LayerSchemeEntry material_3_7[] = {
    Leaf("新幹線（地下）"),
    Leaf("ＪＲ（地下）"),
    Leaf("地下鉄（地下）"),
    Leaf("私鉄・第３セクター（地下）"),
    Leaf("ロープウェイ・ゴンドラ・リフト（地下）"),
    Leaf("モノレール・ケーブルカー（地下）"),
    Leaf("その他鉄道（地下）"),
};
// 交通 > 道路（地上）
constexpr LayerSchemeEntry material_3_8[] = {
    Leaf("高速・都市高速・有料（地上）"),
    Leaf("高速・都市高速・有料（地上）ククリ"),
    Leaf("国道・主要地方道・一般県道（地上）"),
    Leaf("その他道路（地上）"),
    Leaf("国道・主要地方道・一般県道・その他道路（地上）ククリ"),
};
// 交通 > 道路（地下）
constexpr LayerSchemeEntry material_3_9[] = {
    Leaf("高速・都市高速・有料（地下）"),
    Leaf("高速・都市高速・有料（地下）ククリ"),
    Leaf("国道・主要地方道・一般県道（地下）"),
    Leaf("その他道路（地下）"),
    Leaf("国道・主要地方道・一般県道・その他道路（地下）ククリ"),
};
// 交通
constexpr LayerSchemeEntry material_3[] = {
    Leaf("駅（高架）"),
    Group("鉄道（高架）", material_3_2),
    Group("道路（高架）", material_3_3),
    Leaf("駅（地上）"),
    Group("鉄道（地上）", material_3_5),
    Leaf("駅（地下）"),
    Group("鉄道（地下）", material_3_7),
    Group("道路（地上）", material_3_8),
    Group("道路（地下）", material_3_9),
};
// 交通網
constexpr LayerSchemeEntry material_4[] = {
    Leaf("鉄道網"),
    Leaf("道路網"),
};
// 施設・地形・水系
constexpr LayerSchemeEntry material_5[] = {
    Leaf("地形・水系"),     Leaf("施設/地面"),     Leaf("施設/建物"),     Leaf("施設/敷地"),
    Leaf("公園・ゴルフ場"), Leaf("等高線/計曲線"), Leaf("等高線/主曲線"),
};
// 行政面
constexpr LayerSchemeEntry material_6[] = {
    Leaf("市区町村面"),
    Leaf("町・大字面"),
};

// 整飾
constexpr LayerSchemeEntry tokyo23_1[] = {
    Leaf("スケールバー"),
    Leaf("方位記号"),
};
// 地名
constexpr LayerSchemeEntry tokyo23_2[] = {
    Leaf("市区町村名（ルビ）"), Leaf("市区町村名"), Leaf("大字名（ルビ）"), Leaf("大字名"),
    Leaf("小字名（ルビ）"),     Leaf("小字名"),
};
// 教育施設
constexpr LayerSchemeEntry tokyo23_3[] = {
    Leaf("大学・短大"), Leaf("大学・短大（付属施設）"), Leaf("高専"), Leaf("高校"), Leaf("中学校"),
    Leaf("小学校"),     Leaf("その他の教育施設"),
};
// 公共施設
constexpr LayerSchemeEntry tokyo23_4[] = {
    Leaf("行政施設"), Leaf("警察署・交番"), Leaf("消防署"), Leaf("病院"),       Leaf("郵便局"),
    Leaf("公民館"),   Leaf("官公署"),       Leaf("大使館"), Leaf("公立図書館"), Leaf("その他の公共施設"),
};
// 都市施設
constexpr LayerSchemeEntry tokyo23_5[] = {
    Leaf("ホテル"),
    Leaf("ホール・劇場・文化会館"),
    Leaf("デパート・百貨店"),
    Leaf("銀行"),
};
// スポーツ・娯楽施設
constexpr LayerSchemeEntry tokyo23_6[] = {
    Leaf("ゴルフ場"),
    Leaf("レジャー施設"),
    Leaf("美術館・博物館"),
    Leaf("動物園・植物園・水族館"),
    Leaf("競技場・スポーツ公園"),
    Leaf("その他のスポーツ・娯楽施設"),
};
// その他の施設
constexpr LayerSchemeEntry tokyo23_7[] = {
    Leaf("著名施設"),   Leaf("公園"),     Leaf("寺院・神社・教会"),
    Leaf("史跡・名勝"), Leaf("交通施設"), Leaf("その他の施設"),
};
// 自然
constexpr LayerSchemeEntry tokyo23_8[] = {
    Leaf("自然（水系）"),
    Leaf("自然（その他）"),
};
// 路線
constexpr LayerSchemeEntry tokyo23_9[] = {
    Leaf("地下鉄ナンバリング"), Leaf("地下鉄出入口番号"), Leaf("駅出入口名称"), Leaf("踏切"),
    Leaf("路線名_新幹線"),      Leaf("路線名_ＪＲ"),      Leaf("路線名_私鉄"),  Leaf("路線名_地下鉄"),
    Leaf("路線名_その他"),      Leaf("駅名_新幹線"),      Leaf("駅名_ＪＲ"),    Leaf("駅名_私鉄"),
    Leaf("駅名_地下鉄"),        Leaf("駅名_その他"),
};
// 道路
constexpr LayerSchemeEntry tokyo23_10[] = {
    Leaf("都市高速道路番号"), Leaf("国道番号"), Leaf("県道番号"), Leaf("有料道路施設名"),
    Leaf("有料道路名"),       Leaf("通り名"),   Leaf("坂名"),     Leaf("橋名"),
    Leaf("トンネル名"),       Leaf("交差点名"), Leaf("信号"),     Leaf("一方通行"),
};
// 街区符号
constexpr LayerSchemeEntry tokyo23_11[] = {
    Leaf("国交省街区符号"),
    Leaf("国交省地番"),
};
// 横断歩道橋
constexpr LayerSchemeEntry tokyo23_12[] = {
    Leaf("横断歩道橋"),
};
// 鉄道路線
constexpr LayerSchemeEntry tokyo23_13[] = {
    Leaf("駅"),
    Leaf("路線"),
    Leaf("駅（地下鉄以外地下）"),
    Leaf("路線（地下鉄以外地下）"),
    Leaf("駅（地下鉄）"),
    Leaf("路線（地下鉄地上）"),
    Leaf("路線（地下鉄地下）"),
};
// 行政界線
constexpr LayerSchemeEntry tokyo23_14[] = {
    Leaf("都道府県界"),
    Leaf("市区町村界"),
    Leaf("大字・町界"),
    Leaf("小字・丁目界"),
};
// 建物
constexpr LayerSchemeEntry tokyo23_15[] = {
    Leaf("建物（装飾・区切線等）"), Leaf("駅ビル"), Leaf("ホテル"), Leaf("官公庁"),           Leaf("高層集合住宅"),
    Leaf("娯楽・デパート"),         Leaf("病院"),   Leaf("学校"),   Leaf("工場・銀行・ビル"),
};
// 施設・水系（装飾線）
constexpr LayerSchemeEntry tokyo23_16[] = {
    Leaf("道路表現 高速道路縁枠"),
    Leaf("道路表現 分離帯・高架"),
    Leaf("道路表現 装飾線（実線）"),
    Leaf("道路表現 装飾線（破線）"),
    Leaf("料金所"),
    Leaf("水門"),
    Leaf("航路"),
};
// 街区縁
constexpr LayerSchemeEntry tokyo23_17[] = {
    Leaf("街区縁"),
};
// 施設・水系（枠線）
constexpr LayerSchemeEntry tokyo23_18[] = {
    Leaf("植栽地"),     Leaf("芝生等その他"), Leaf("水系"),
    Leaf("プール"),     Leaf("ダム"),         Leaf("工場"),
    Leaf("学校"),       Leaf("病院"),         Leaf("舗装地その他敷地"),
    Leaf("中央分離帯"), Leaf("鉄道敷地"),     Leaf("堤外地"),
    Leaf("山林"),       Leaf("湿地"),         Leaf("砂地"),
    Leaf("トンネル"),
};
// 施設・水系（塗り）
constexpr LayerSchemeEntry tokyo23_19[] = {
    Leaf("植栽地"),     Leaf("芝生その他"), Leaf("水系"),
    Leaf("プール"),     Leaf("ダム"),       Leaf("工場"),
    Leaf("学校"),       Leaf("病院"),       Leaf("舗装地その他敷地"),
    Leaf("中央分離帯"), Leaf("鉄道敷地"),   Leaf("堤外地"),
    Leaf("山林"),       Leaf("湿地"),       Leaf("砂地"),
    Leaf("トンネル"),
};
// 道路
constexpr LayerSchemeEntry tokyo23_20[] = {
    Leaf("高速・都市高速"), Leaf("国道"), Leaf("主要地方道"), Leaf("その他主要道"), Leaf("歩道"), Leaf("背景道路"),
};
// 街区
constexpr LayerSchemeEntry tokyo23_21[] = {
    Leaf("街区"),
};

}  // namespace

constexpr LayerSchemeEntry materialLayerScheme[materialLayerSchemeCount] = {
    Group("注記・記号", material_1),
    Leaf("行政界"),
    Group("交通", material_3),
    Group("交通網", material_4),
    Group("施設・地形・水系", material_5),
    Group("行政面", material_6),
    Leaf("4点座標マーカー"),
};

constexpr LayerSchemeEntry tokyo23LayerScheme[tokyo23LayerSchemeCount] = {
    Group("整飾", tokyo23_1),
    Group("地名", tokyo23_2),
    Group("教育施設", tokyo23_3),
    Group("公共施設", tokyo23_4),
    Group("都市施設", tokyo23_5),
    Group("スポーツ・娯楽施設", tokyo23_6),
    Group("その他の施設", tokyo23_7),
    Group("自然", tokyo23_8),
    Group("路線", tokyo23_9),
    Group("道路", tokyo23_10),
    Group("街区符号", tokyo23_11),
    Group("横断歩道橋", tokyo23_12),
    Group("鉄道路線", tokyo23_13),
    Group("行政界線", tokyo23_14),
    Group("建物", tokyo23_15),
    Group("施設・水系（装飾線）", tokyo23_16),
    Group("街区縁", tokyo23_17),
    Group("施設・水系（枠線）", tokyo23_18),
    Group("施設・水系（塗り）", tokyo23_19),
    Group("道路", tokyo23_20),
    Group("街区", tokyo23_21),
};

namespace {

constexpr int32_t CountAtDepth(const LayerSchemeEntry* entries, int32_t count, int depth) {
    int32_t n = 0;
    for (int32_t i = 0; i < count; ++i) {
        if (depth == 0)
            ++n;
        else if (entries[i].group)
            n += CountAtDepth(entries[i].sublayers, entries[i].count, depth - 1);
    }
    return n;
}

constexpr std::size_t LongestTitle(const LayerSchemeEntry* entries, int32_t count) {
    std::size_t longest = 0;
    for (int32_t i = 0; i < count; ++i) {
        longest = std::max(longest, std::string_view(entries[i].title).size());
        if (entries[i].group) longest = std::max(longest, LongestTitle(entries[i].sublayers, entries[i].count));
    }
    return longest;
}

static_assert(CountAtDepth(materialLayerScheme, materialLayerSchemeCount, 1) == 32);
static_assert(CountAtDepth(materialLayerScheme, materialLayerSchemeCount, 2) == 51);
static_assert(CountAtDepth(materialLayerScheme, materialLayerSchemeCount, 3) == 0);
static_assert(CountAtDepth(tokyo23LayerScheme, tokyo23LayerSchemeCount, 1) == 139);
static_assert(CountAtDepth(tokyo23LayerScheme, tokyo23LayerSchemeCount, 2) == 0);

// A title cut to fit the buffer keeps at least this many bytes, even when the
// cut falls before a whole character (UTF-8 needs up to 3 bytes, Shift-JIS 2). Every table title is shorter, so a
// cut title can never be taken for one.
constexpr std::size_t kShortestCutTitle = kLayerTitleBufferSize - 1 - 3;
static_assert(LongestTitle(materialLayerScheme, materialLayerSchemeCount) < kShortestCutTitle);
static_assert(LongestTitle(tokyo23LayerScheme, tokyo23LayerSchemeCount) < kShortestCutTitle);

bool TitleIs(LayerTreeReader& reader, LayerTreeReader::Layer layer, const char* expected) {
    // A fresh buffer per layer: a failed read must not leave the previous
    // layer's title behind, which could match where a group repeats its own
    // title in its sublayer.
    char title[kLayerTitleBufferSize] = {};
    if (!reader.ReadTitle(layer, title, sizeof title)) return false;
    if (std::memchr(title, '\0', sizeof title) == nullptr) return false;
    return std::strcmp(title, expected) == 0;
}

bool ListFollows(LayerTreeReader& reader, LayerTreeReader::Layer first, const LayerSchemeEntry* expected,
                 int32_t count) {
    int32_t position = 0;
    for (LayerTreeReader::Layer layer = first; layer != nullptr; layer = reader.NextLayer(layer), ++position) {
        // Any layer past the expected ones already makes the count wrong;
        // stopping here also bounds the walk should the host hand back a loop.
        if (position >= count) return false;
        const LayerSchemeEntry& entry = expected[position];
        if (!TitleIs(reader, layer, entry.title)) return false;
        if (entry.group && !ListFollows(reader, reader.FirstChild(layer), entry.sublayers, entry.count)) return false;
    }
    return position == count;
}

}  // namespace

bool FollowsLayerScheme(LayerTreeReader& reader, const LayerSchemeEntry* scheme, int32_t count) {
    return ListFollows(reader, reader.FirstLayer(), scheme, count);
}
